#!/usr/bin/python3
"""Looks at the inhibitor locks that python3-dbusmock's mock session manager
(its logind template) lists on the private system bus of
$DBUS_SYSTEM_BUS_ADDRESS. The mock drops a lock when every copy of the
lock's descriptor is closed.
  inhibitor_lock.py ready       waits up to 10 s for the mock to be on the bus
  inhibitor_lock.py held PID    exactly the updater's lock is listed, and the
                                process PID holds it with a descriptor that
                                programs it starts do not inherit
  inhibitor_lock.py none        waits up to 5 s for no lock to be listed
"""
import os
import sys
import time

import dbus

NAME = 'org.freedesktop.login1'
EXPECTED = ('shutdown:sleep', 'TVS Updater', 'Updating the firmware of your Trovix Studio', 'block')
O_CLOEXEC = 0o2000000


def bus():
    return dbus.bus.BusConnection(os.environ['DBUS_SYSTEM_BUS_ADDRESS'])


def listed(connection):
    manager = connection.get_object(NAME, '/org/freedesktop/login1')
    return [tuple(str(text) for text in lock[:4]) for lock in manager.ListInhibitors(
        dbus_interface='org.freedesktop.login1.Manager')]


def pipes(pid):
    folder = f'/proc/{pid}/fd'
    found = {}
    for fd in os.listdir(folder):
        try:
            target = os.readlink(f'{folder}/{fd}')
        except OSError:
            continue
        if target.startswith('pipe:'):
            found[target] = fd
    return found


def fd_flags(pid, fd):
    with open(f'/proc/{pid}/fdinfo/{fd}') as info:
        for line in info:
            if line.startswith('flags:'):
                return int(line.split()[1], 8)
    return 0


def wait(condition, seconds):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            return False
        time.sleep(0.1)
    return True


def ready():
    connection = bus()
    return wait(lambda: connection.name_has_owner(NAME), 10) or 'the mock session manager is not on the bus'


def held(pid):
    connection = bus()
    locks = listed(connection)
    if locks != [EXPECTED]:
        return f'the locks listed are {locks}, not {[EXPECTED]}'
    mock = connection.call_blocking('org.freedesktop.DBus', '/org/freedesktop/DBus', 'org.freedesktop.DBus',
                                    'GetConnectionUnixProcessID', 's', (NAME,))
    # The lock's pipe is the one the program shares with the mock, but not
    # through what all three inherited from the test's own parents.
    program_pipes = pipes(pid)
    inherited = pipes(os.getpid())
    shared = [program_pipes[pipe] for pipe in pipes(mock) if pipe in program_pipes and pipe not in inherited]
    if len(shared) != 1:
        return f'the program holds {len(shared)} of the mock\'s pipes, not the one lock'
    if not fd_flags(pid, shared[0]) & O_CLOEXEC:
        return f'the lock\'s descriptor {shared[0]} is inherited by programs the updater starts'
    return True


def none():
    connection = bus()
    return wait(lambda: not listed(connection), 5) or f'the lock is still listed: {listed(connection)}'


def main():
    checks = {'ready': ready, 'held': lambda: held(sys.argv[2]), 'none': none}
    outcome = checks[sys.argv[1]]()
    if outcome is not True:
        print(f'inhibitor_lock: {outcome}', file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
