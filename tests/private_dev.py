"""A full device of the test's own: tests never aim a program at the
machine's /dev/full, which a program that renames over its target would
replace for everyone."""
import atexit
import os
import stat


def full_device(directory):
    """Makes directory/full, a character device like /dev/full (1, 7), and
    removes it when the test ends; or says why it cannot and returns None, so
    that only the cases that need it are skipped. Anything else in its place
    is the test's own leftover and is removed first."""
    path = os.path.join(directory, "full")
    try:
        st = os.lstat(path)
        if stat.S_ISCHR(st.st_mode) and st.st_rdev == os.makedev(1, 7):
            atexit.register(os.remove, path)
            return path
        if stat.S_ISDIR(st.st_mode):
            os.rmdir(path)
        else:
            os.remove(path)
    except FileNotFoundError:
        pass
    try:
        os.mknod(path, stat.S_IFCHR | 0o666, os.makedev(1, 7))
    except OSError as e:
        print("cannot make a full device (%s): the cases that need one are skipped" % e.strerror)
        return None
    atexit.register(os.remove, path)
    return path
