#pragma once
#include <string>

namespace qorvid::tools {

// The hidden name a target is written under where the file system has no unnamed files.
std::string unfinishedTargetPath(const std::string& target);

// Where FFmpeg writes while it works: an unnamed file in the target's folder, so that a run
// that is killed leaves nothing behind; it gets the target's name only when the run
// succeeded. File systems without unnamed files get a hidden ".<name>.part" instead.
class UnfinishedTarget {
public:
    UnfinishedTarget() = default;
    UnfinishedTarget(const UnfinishedTarget&) = delete;
    UnfinishedTarget& operator=(const UnfinishedTarget&) = delete;
    ~UnfinishedTarget(); // an unpublished result is dropped

    // false with errno set when the folder cannot take the file.
    bool open(const std::string& target);
    // The name FFmpeg opens for writing.
    const std::string& path() const { return path_; }
    // Gives the finished file the target's name (replacing one that is there).
    bool publish(const std::string& target);

private:
    int fd_ = -1;          // the unnamed file
    std::string path_;
    std::string partPath_; // the fallback's named file
    bool published_ = false;
};

} // namespace qorvid::tools
