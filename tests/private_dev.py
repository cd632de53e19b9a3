"""A full device of the test's own: tests never aim a program at the
machine's /dev/full, which a program that renames over its target would
replace for everyone."""
import os
import stat
import sys


def full_device(directory):
    """Makes directory/full, a character device like /dev/full (1, 7), or
    exits 77 (skipped) with a message where this user may not."""
    path = os.path.join(directory, "full")
    if not os.path.exists(path):
        try:
            os.mknod(path, stat.S_IFCHR | 0o666, os.makedev(1, 7))
        except OSError as e:
            print("cannot make a full device (%s); skipped" % e.strerror)
            sys.exit(77)
    return path
