#pragma once
// The application's one current hint: recomputed from the control under the pointer whenever the
// event loop is about to wait, set by highlighted menu items, and passed on only when it changes.
#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace lexorant {

// A widget's own hint; empty means "none", so the hint of the nearest enclosing widget applies.
void SetHint(QWidget* widget, const QString& hint);
QString HintOf(const QWidget* widget);

class HintRouter : public QObject {
    Q_OBJECT
public:
    using Sink = std::function<void(const QString&)>;
    HintRouter(QWidget* mainWindow, Sink showHint);

    // Items of this menu (and its submenus) show their hints while highlighted.
    void WatchMenu(QMenu* menu);
    // What the hint would be now for the pointer at its current place.
    QString HintUnderPointer() const;
    const QString& CurrentHint() const { return current_; }
    void RecomputeNow() { OnIdle(); }

private:
    void SetCurrent(const QString& hint);
    void OnIdle();
    QWidget* mainWindow_;
    Sink showHint_;
    QString current_;
};

} // namespace lexorant
