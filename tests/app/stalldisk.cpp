// SPDX-License-Identifier: MIT
// A file system whose every operation waits a minute before it fails, as a network share that has
// stalled does: mounted where the picker and the search look, it shows whether anything of theirs
// waits for a disk on the window's thread, or when the program ends. It ends with its parent.
#define FUSE_USE_VERSION 31
#include <fuse.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <sys/prctl.h>
#include <thread>

namespace {

int stall()
{
    std::this_thread::sleep_for(std::chrono::seconds(60));
    return -EIO;
}

int stalledGetattr(const char *, struct stat *, struct fuse_file_info *) { return stall(); }
int stalledOpendir(const char *, struct fuse_file_info *) { return stall(); }
int stalledReaddir(const char *, void *, fuse_fill_dir_t, off_t, struct fuse_file_info *, enum fuse_readdir_flags)
{
    return stall();
}
int stalledOpen(const char *, struct fuse_file_info *) { return stall(); }
int stalledStatfs(const char *, struct statvfs *) { return stall(); }
int stalledAccess(const char *, int) { return stall(); }

} // namespace

int main(int argc, char *argv[])
{
    // Its blocked requests would otherwise outlive the test that mounted it.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (argc != 2)
        return 2;
    struct fuse_operations operations = {};
    operations.getattr = stalledGetattr;
    operations.opendir = stalledOpendir;
    operations.readdir = stalledReaddir;
    operations.open = stalledOpen;
    operations.statfs = stalledStatfs;
    operations.access = stalledAccess;
    char foreground[] = "-f";
    char *arguments[] = {argv[0], foreground, argv[1], nullptr};
    return fuse_main(3, arguments, &operations, nullptr);
}
