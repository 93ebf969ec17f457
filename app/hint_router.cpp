#include "app/hint_router.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QVariant>
#include <QWidget>

namespace lexorant {

namespace {
const char* const kHintProperty = "lexorantHint";
} // namespace

void SetHint(QWidget* widget, const QString& hint) { widget->setProperty(kHintProperty, hint); }

QString HintOf(const QWidget* widget) { return widget->property(kHintProperty).toString(); }

HintRouter::HintRouter(QWidget* mainWindow, Sink showHint)
    : QObject(mainWindow), mainWindow_(mainWindow), showHint_(std::move(showHint)) {
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &HintRouter::OnIdle);
}

void HintRouter::WatchMenu(QMenu* menu) {
    connect(menu, &QMenu::hovered, this, [this](QAction* action) {
        // A submenu header has no hint of its own.
        SetCurrent(action->menu() ? QString() : action->statusTip());
    });
    connect(menu, &QMenu::aboutToHide, this, [this] { SetCurrent(QString()); });
    for (QAction* action : menu->actions())
        if (action->menu())
            WatchMenu(action->menu());
}

QString HintRouter::HintUnderPointer() const {
    const QWidget* widget = QApplication::widgetAt(QCursor::pos());
    if (!widget)
        return QString();
    // Over any part of the program's windows: the nearest hint around the control.
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QString hint = HintOf(w);
        if (!hint.isEmpty())
            return hint;
        if (w->isWindow() && w != mainWindow_)
            break;
    }
    return widget->window() == mainWindow_ ? HintOf(mainWindow_) : QString();
}

void HintRouter::OnIdle() {
    // While a menu is open, its highlighted item owns the hint.
    if (QApplication::activePopupWidget())
        return;
    SetCurrent(HintUnderPointer());
}

void HintRouter::SetCurrent(const QString& hint) {
    if (hint == current_)
        return;
    current_ = hint;
    showHint_(hint);
}

} // namespace lexorant
