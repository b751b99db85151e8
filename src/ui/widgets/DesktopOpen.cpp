
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>

#include "ui/LoadHandlers.h"
#include "ui/ScriptRunner.h"
#include "ui/widgets/MainWindow.h"

namespace vxa {

namespace {

// The extension of the file's name: from its last "." to the end.
bool HasExtension(std::string_view path, std::string_view extension) {
    const std::string_view name = path.substr(path.find_last_of('/') + 1);
    const std::size_t dot = name.find_last_of('.');
    return dot != std::string_view::npos && name.substr(dot) == extension;
}

// Opens `path` as typing it into the path bar and pressing Reopen does.
void Reopen(MainWindow& window, const std::string& path) {
    window.dispatcher().run(HandlerKind::Command, [&] {
        window.setOpenEditText(path);
        ReloadBtnClick(window.context());
    });
}

// The path of a drag that carries exactly one local ".vxa" file.
std::optional<std::string> DraggedArchive(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1 ||
        !mime->urls().front().isLocalFile()) {
        return std::nullopt;
    }
    std::string path =
        QFile::encodeName(QDir::toNativeSeparators(mime->urls().front().toLocalFile()))
            .toStdString();
    if (!HasExtension(path, ".vxa"))
        return std::nullopt;
    return path;
}

class ArchiveDropFilter final : public QObject {
  public:
    explicit ArchiveDropFilter(MainWindow& window) : QObject(&window), window_(window) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            return QObject::eventFilter(watched, event);
        auto* e = static_cast<QDropEvent*>(event);
        const auto path = DraggedArchive(e->mimeData());
        if (!path)
            return false;  // the line edit's own handling, e.g. dropped text
        e->setDropAction(Qt::CopyAction);
        e->accept();
        if (type == QEvent::Drop)
            Reopen(window_, *path);
        return true;
    }

  private:
    MainWindow& window_;
};

}  // namespace

bool OpenFromArguments(MainWindow& window, const std::vector<std::string>& args,
                       std::ostream& err) {
    if (args.empty())
        return true;
    const std::string& path = args.front();
    if (args.size() == 1 && HasExtension(path, ".vxa")) {
        // Absolute, so that a script saved later still finds the archive.
        std::error_code ec;
        const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
        Reopen(window, ec ? path : absolute.string());
        return true;
    }
    if (args.size() == 1 && HasExtension(path, ".vxc")) {
        window.dispatcher().run(HandlerKind::Command, [&] {
            Context& c = window.context();
            if (const auto script = OpenScript(c, path))
                RunScript(c, *script);
        });
        return true;
    }
    err << kManagerUsage;
    return false;
}

void AcceptArchiveDrops(MainWindow& window) {
    window.controls().OpenEdit->installEventFilter(new ArchiveDropFilter(window));
}

}  // namespace vxa
