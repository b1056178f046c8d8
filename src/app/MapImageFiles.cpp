#include "app/MapImageFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "app/CChildFrame.h"
#include "app/DialogFolder.h"
#include "app/FailureMessages.h"
#include "app/UserPrompts.h"
#include "document/CzandrelEditorDoc.h"
#include "heightimage/HeightImage.h"
#include "heightimage/HeightPngReader.h"
#include "heightimage/RgbPngWriter.h"
#include "view3d/CzandrelEditorView.h"

namespace zandrel::app {

namespace {

using Action = FailureMessages::Action;
using Problem = FailureMessages::PictureProblem;

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdString());
}

// Rows of a QImage are padded to four bytes; the PNG writer wants them packed.
heightimage::RgbPicture PictureOf(const QImage& grabbed) {
    const QImage rgb = grabbed.convertToFormat(QImage::Format_RGB888);
    heightimage::RgbPicture picture;
    picture.width = rgb.width();
    picture.height = rgb.height();
    const auto rowBytes = static_cast<std::size_t>(picture.width) * 3;
    picture.rgb.resize(rowBytes * static_cast<std::size_t>(picture.height));
    for (int y = 0; y < rgb.height(); ++y) {
        std::memcpy(picture.rgb.data() + rowBytes * static_cast<std::size_t>(y),
                    rgb.constScanLine(y), rowBytes);
    }
    return picture;
}

// The reader says why in English only; the file's own state gives the user's reason, and what
// is left is the content.
QString ReadFailureText(const QString& path) {
    const QFileInfo info(path);
    FailureCause cause;
    if (!info.exists()) {
        cause.kind = FailureKind::NotFound;
    } else if (info.isDir()) {
        cause.kind = FailureKind::IsFolder;
    } else if (!info.isFile()) {
        cause.kind = FailureKind::NotRegularFile;
    } else if (!info.isReadable()) {
        cause.kind = FailureKind::NoPermission;
    } else {
        return FailureMessages::Text(Action::ImportHeightmap, path, Problem::NotPng);
    }
    return FailureMessages::Text(Action::ImportHeightmap, path, cause);
}

QString SuggestedImagePath(const document::CzandrelEditorDoc& doc) {
    // "zandrelEditor1.png" for an untitled map, "cave.png" beside cave.zdm.
    const QString name = QFileInfo(doc.Title()).completeBaseName() + QStringLiteral(".png");
    const QString folder = DialogFolder::Choose(doc.PathName(), DialogFolder::Last());
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

}  // namespace

bool MapImageFiles::ExportViewImage(CChildFrame& frame, UserPrompts& prompts, QWidget* parent) {
    const QString path = prompts.AskImageSavePath(parent, SuggestedImagePath(*frame.GetDocument()));
    if (path.isEmpty()) {
        return false;
    }
    const QImage grabbed = frame.View()->GrabImage();
    if (grabbed.isNull() || grabbed.width() <= 0 || grabbed.height() <= 0) {
        prompts.ShowError(parent,
                          FailureMessages::Text(Action::ExportImage, path, Problem::EmptyView));
        return false;
    }
    const Status written = heightimage::WriteRgbPngFile(ToPath(path), PictureOf(grabbed));
    if (!written) {
        prompts.ShowError(parent,
                          FailureMessages::Text(Action::ExportImage, path, written.cause()));
        return false;
    }
    return true;
}

tools::HeightRange MapImageFiles::ImportRange(const std::optional<tools::HeightRange>& stored,
                                              const map::MapGrid& grid) {
    if (stored) {
        return *stored;
    }
    const tools::HeightRange own = tools::RangeOf(tools::SampleHeightField(grid));
    if (std::isfinite(own.min) && std::isfinite(own.max) && own.min < own.max) {
        return own;
    }
    return {0.0, 1.0};
}

QString MapImageFiles::ImportedText(tools::HeightRange range) {
    // Shown to an Italian user, never written to a file: the decimal comma is right here.
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    return QStringLiteral("Heightmap importata: altezze da %1 a %2")
        .arg(italian.toString(range.min, 'g', 6), italian.toString(range.max, 'g', 6));
}

std::optional<tools::HeightRange> MapImageFiles::ImportHeightmap(CChildFrame& frame,
                                                                 UserPrompts& prompts,
                                                                 QWidget* parent) {
    document::CzandrelEditorDoc* doc = frame.GetDocument();
    const QString path = prompts.AskHeightmapPath(
        parent, DialogFolder::Choose(doc->PathName(), DialogFolder::Last()));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    heightimage::HeightImage image;
    if (!heightimage::ReadHeightPngFile(ToPath(path), image)) {
        prompts.ShowError(parent, ReadFailureText(path));
        return std::nullopt;
    }
    if (image.width <= 0 || image.height <= 0) {
        prompts.ShowError(parent,
                          FailureMessages::Text(Action::ImportHeightmap, path, Problem::NoPixels));
        return std::nullopt;
    }
    const tools::HeightRange range = ImportRange(image.range, doc->mapGrid());
    const tools::HeightField field =
        tools::HeightsFromLevels(image.width, image.height, image.levels, range);
    tools::MapSelection& selection = frame.View()->selection();
    doc->Change(
        [&](tools::DocumentState& state) {
            const bool imported = tools::ImportHeightField(state, selection, field);
            return tools::EditOutcome{imported, imported};
        },
        nullptr, tools::kImportHeightmapName);
    return range;
}

}  // namespace zandrel::app
