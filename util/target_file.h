#pragma once
#include <string>

namespace qorvid {

// Which file a path names right now, so that a run can tell its own result from a file that
// was there before it.
struct FileIdentity {
    bool exists = false;
    unsigned long long device = 0, inode = 0;
    long long size = 0, modifiedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};
FileIdentity identityOf(const std::string& path);

// Why the target's folder cannot take a new file (the system's own wording), "" when it can:
// the folder is gone, is on a read-only mount or may not be written by this user.
std::string folderProblem(const std::string& targetPath);
// Why an existing target cannot be replaced ("" when it can, or when there is none).
std::string replaceProblem(const std::string& targetPath);

// Marks a target as being written by one job of this user, so that a second job sees it as
// taken. The mark is a lock on a file in the user's runtime folder: it goes with the process,
// even a killed one, and nothing is written beside the target.
class TargetLock {
public:
    TargetLock() = default;
    ~TargetLock();
    TargetLock(const TargetLock&) = delete;
    TargetLock& operator=(const TargetLock&) = delete;
    // False when another job holds the target.
    bool tryLock(const std::string& targetPath);
    void unlock();

private:
    int fd_ = -1;
};

} // namespace qorvid
