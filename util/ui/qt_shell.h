#pragma once
#include "util/shell_ops.h"

namespace qorvid {

// The shell calls of the window program: as the core does them, with a failure reported
// on the window thread.
class QtShellOps final : public ShellOps {
public:
    bool openDocument(const std::string& pathOrUrl, std::function<void()> onFailure) override;
    bool runHidden(const std::string& path) override;
    bool showInFileManager(const std::string& path) override;
};

ShellOps& qtShell();

} // namespace qorvid
