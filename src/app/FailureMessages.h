#pragma once

#include <QString>

#include "map/FailureCause.h"

namespace zandrel::app {

// Every failure text of the editor's message boxes, in Italian: what could not be done with
// which file, then the cause in the user's words, with its line, attribute and value.
class FailureMessages {
public:
    enum class Action { Open, Save, Recover, ExportImage, ImportHeightmap };
    // What is wrong with a picture itself, rather than with its file.
    enum class PictureProblem { EmptyView, NotPng, NoPixels };

    static QString Text(Action action, const QString& path, const FailureCause& cause);
    static QString Text(Action action, const QString& path, PictureProblem problem);
    // The cause alone, one sentence.
    static QString CauseText(Action action, const FailureCause& cause);
};

}  // namespace zandrel::app
