#include "ui/on_screen.h"

#include <QAbstractButton>
#include <QWidget>

namespace lumigrave::ui {

namespace {

QList<Presentation*>& registry() {
    static QList<Presentation*> shown;
    return shown;
}

}  // namespace

QList<Presentation*> OnScreen::all() {
    return registry();
}

QStringList OnScreen::buttonTitles(const Presentation& shown) {
    QStringList titles;
    for (int i = 0; i < shown.numberOfButtons(); ++i) {
        titles.append(shown.buttonTitleAtIndex(i));
    }
    return titles;
}

bool OnScreen::pressButton(Presentation& shown, int index) {
    QWidget* panel = shown.panel();
    if (panel == nullptr) {
        return false;
    }
    auto* button = panel->findChild<QAbstractButton*>(Presentation::buttonObjectName(index));
    if (button == nullptr || !button->isEnabled()) {
        return false;
    }
    button->click();
    return true;
}

void OnScreen::shown(Presentation* shown) {
    if (!registry().contains(shown)) {
        registry().append(shown);
    }
}

void OnScreen::gone(Presentation* shown) {
    registry().removeAll(shown);
}

}  // namespace lumigrave::ui
