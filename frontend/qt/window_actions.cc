#include "frontend/qt/window_actions.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMap>
#include <QWidget>
#include <utility>

namespace orlan {

WindowActions::WindowActions(QWidget& window, std::function<void(WindowAction)> on_trigger)
    : menu_(&window) {
  QMap<QString, QMenu*> submenus;
  QMap<QString, QActionGroup*> groups;  // the choices of a submenu, one at a time
  for (const WindowActionEntry& entry : kWindowActions) {
    auto* action = new QAction(QString::fromUtf8(entry.text ? entry.text : ""), &window);
    action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(entry.shortcuts),
                                                      QKeySequence::PortableText));
    action->setShortcutContext(Qt::WindowShortcut);
    // Context menus hide shortcuts on some desktops; these are the only place they show.
    action->setShortcutVisibleInContextMenu(true);
    action->setCheckable(entry.check != Check::kNone);
    QObject::connect(action, &QAction::triggered, &window,
                     [on_trigger, id = entry.action] { on_trigger(id); });
    window.addAction(action);
    actions_[static_cast<std::size_t>(entry.action)] = action;
    if (entry.text == nullptr) continue;

    QMenu* menu = &menu_;
    bool separator = entry.separator_before;
    if (entry.submenu != nullptr) {
      const QString name = QString::fromUtf8(entry.submenu);
      if (!submenus.contains(name)) {
        if (separator && !menu_.isEmpty()) menu_.addSeparator();
        submenus.insert(name, menu_.addMenu(name));
        groups.insert(name, new QActionGroup(&window));
        separator = false;
      }
      menu = submenus.value(name);
      if (entry.check == Check::kOneOf) groups.value(name)->addAction(action);
    }
    if (separator && !menu->isEmpty()) menu->addSeparator();
    menu->addAction(action);
  }
}

}  // namespace orlan
