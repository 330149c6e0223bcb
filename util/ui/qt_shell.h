#pragma once
#include "util/shell_ops.h"

namespace qorvid {

// The shell calls through Qt: documents and addresses with QDesktopServices; hidden runs
// and the file manager as the core does them.
class QtShellOps final : public ShellOps {
public:
    bool openDocument(const std::string& pathOrUrl) override;
    bool runHidden(const std::string& path) override;
    bool showInFileManager(const std::string& path) override;
};

ShellOps& qtShell();

} // namespace qorvid
