#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "ui/presentation.h"

namespace lumigrave::ui {

// What is shown over the windows, for tests and accessibility tools: one open list of
// every presentation on screen, oldest first, whatever its kind, and a way to press
// their buttons by position as a user would. A new kind of presentation is listed
// without any change here.
class OnScreen {
  public:
    static QList<Presentation*> all();
    // The presentations of kind T on screen, oldest first.
    template <typename T>
    static QList<T*> all() {
        QList<T*> found;
        for (Presentation* shown : all()) {
            if (auto* match = dynamic_cast<T*>(shown)) {
                found.append(match);
            }
        }
        return found;
    }
    // The newest presentation of kind T, or null.
    template <typename T>
    static T* top() {
        const QList<T*> found = all<T>();
        return found.isEmpty() ? nullptr : found.last();
    }

    static QStringList buttonTitles(const Presentation& shown);
    // Presses the button at position index through the widget that shows it; false when
    // the presentation shows no such button or it is disabled.
    static bool pressButton(Presentation& shown, int index);

    // Called by the presentations as they come and go.
    static void shown(Presentation* shown);
    static void gone(Presentation* shown);
};

}  // namespace lumigrave::ui
