#include "trellis/DefaultStyleSheet.h"

namespace Trellis {

// The trailing blanks are part of the text.
const std::string_view DefaultStyleSheet =
    " * { background-color:rgb(192, 192, 192); background-border-color:rgb(128, 128, 128);  "
    "foreground-color:rgb(0, 0, 0); } \n"
    "*:down { background-color:rgb(176, 176, 176); }                           \n"
    "*:over { background-color:rgb(208, 208, 208); }                           \n"
    "Bar { background-color:rgb(32, 32, 32); /*margin:2; spacing:2;*/ }        \n";

} // namespace Trellis
