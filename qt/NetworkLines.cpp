#include "qt/NetworkLines.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>

namespace toolkit::qt {

toolkit::Result<MakeNetworkLine> networkLines() {
    static std::optional<toolkit::Result<MakeNetworkLine>> loaded;
    if (loaded) return *loaded;
    // Beside the program (a build), where the package installs it, or one
    // folder up (a test's, in the build's tests/).
    const QString here = QCoreApplication::applicationDirPath();
    QString tried;
    for (const QString& folder : {here, here + "/../lib/kr60p-panel", here + "/.."}) {
        QLibrary library(folder + "/libkr60p-network.so");
        using Exported = MakeNetworkLine (*)();
        if (const auto exported =
                reinterpret_cast<Exported>(library.resolve("kr60pNetworkLines"))) {
            loaded = exported();
            return *loaded;
        }
        tried = library.errorString();
    }
    loaded =
        toolkit::failure("the part for device servers, libkr60p-network.so, cannot be loaded (" +
                         tried.toStdString() + ")");
    return *loaded;
}

}  // namespace toolkit::qt
