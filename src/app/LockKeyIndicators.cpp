#include "app/LockKeyIndicators.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace zandrel::app {

namespace {
constexpr std::array<const char*, 3> kTexts = {"MAIUSC", "NUM", "SCORR"};
constexpr std::array<const char*, 3> kIndicatorNames = {"Caps Lock", "Num Lock", "Scroll Lock"};
constexpr std::array<const char*, 3> kObjectNames = {"capsIndicator", "numIndicator",
                                                     "scrollIndicator"};

// The X display Qt talks to, or null on another platform.
Display* XDisplay() {
    auto* x11 = qGuiApp == nullptr ? nullptr
                                   : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 == nullptr ? nullptr : x11->display();
}

bool IndicatorOn(Display* display, Atom atom) {
    if (atom == None) {
        return false;
    }
    Bool on = False;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr)) {
        return false;
    }
    return on == True;
}
}  // namespace

LockKeyIndicators::LockKeyIndicators(QStatusBar* statusBar) : QObject(statusBar) {
    for (std::size_t k = 0; k < panes_.size(); ++k) {
        auto* pane = new QLabel(statusBar);
        pane->setObjectName(QString::fromLatin1(kObjectNames[k]));
        pane->setAlignment(Qt::AlignCenter);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setMinimumWidth(
            pane->fontMetrics().horizontalAdvance(QString::fromLatin1(kTexts[k])) + 8);
        statusBar->addPermanentWidget(pane);
        panes_[k] = pane;
    }
}

void LockKeyIndicators::Show(bool caps, bool num, bool scroll) {
    const std::array<bool, 3> states = {caps, num, scroll};
    for (std::size_t k = 0; k < panes_.size(); ++k) {
        const QString text = states[k] ? QString::fromLatin1(kTexts[k]) : QString();
        if (panes_[k]->text() != text) {
            panes_[k]->setText(text);
        }
    }
}

void LockKeyIndicators::Refresh() {
    Display* display = XDisplay();
    if (display == nullptr) {
        Show(false, false, false);
        return;
    }
    if (!atomsKnown_) {
        // Looked up once: the server keeps an atom for as long as it runs.
        for (std::size_t k = 0; k < atoms_.size(); ++k) {
            atoms_[k] = XInternAtom(display, kIndicatorNames[k], True);
        }
        atomsKnown_ = true;
    }
    Show(IndicatorOn(display, atoms_[0]), IndicatorOn(display, atoms_[1]),
         IndicatorOn(display, atoms_[2]));
}

}  // namespace zandrel::app
