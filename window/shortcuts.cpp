#include "window/shortcuts.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFrame>
#include <QPushButton>
#include <QShortcut>

#include "window/accessible.h"
#include "window/frm_main.h"

namespace {

// The buttons that open a screen, in their row order: Ctrl+1 to Ctrl+9.
const char* const kScreenButtons[] = {"cmdMain",     "cmdPic",      "cmdIchiran",
                                      "cmdIchiran2", "cmdIchiran3", "cmdRank",
                                      "cmdList",     "cmdKensaku",  "cmdMaster"};

// The key is pressed as the button would be: not while it is disabled.
void Bind(frmMain& w, const char* buttonName, const QKeySequence& key) {
    QPushButton* button = w.button(buttonName);
    if (!button) return;
    auto* shortcut = new QShortcut(key, &w);
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isEnabled() && button->isVisible()) button->click();
    });
    const QString keyText = key.toString(QKeySequence::NativeText);
    const QString tip = button->toolTip().isEmpty() ? button->text() : button->toolTip();
    button->setToolTip(tip + QStringLiteral("（") + keyText + QStringLiteral("）"));
}

// Moves the main screen by one title, when it is the screen on show.
void Step(frmMain& w, int by) {
    TitleScreen* titles = w.titleScreen();
    if (!titles || !w.frame("fraMain")->isVisible() || w.catalogue.TitleCount == 0) return;
    const int to = titles->TitleNumber() + by;
    if (to >= 1 && to <= w.catalogue.ScrollMaximum()) titles->SetTitleNumber(to);
}

}  // namespace

void InstallShortcuts(frmMain& w) {
    Bind(w, "cmdHelp", QKeySequence(Qt::Key_F1));
    Bind(w, "cmdNew", QKeySequence(Qt::CTRL | Qt::Key_N));
    Bind(w, "cmdKensaku", QKeySequence(Qt::CTRL | Qt::Key_F));
    Bind(w, "cmdEnd", QKeySequence(Qt::CTRL | Qt::Key_Q));
    int n = 0;
    for (const char* name : kScreenButtons) {
        Bind(w, name, QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + n++)));
    }
    if (QPushButton* tour = w.button("chkHelp")) NameControl(tour, QStringLiteral("ヘルプツアー"));

    // Alt+arrows for the whole window (no field uses them); PageUp / PageDown
    // only within the main screen, so that lists elsewhere keep their paging.
    const struct {
        QKeySequence key;
        int by;
        QWidget* owner;
        Qt::ShortcutContext context;
    } steps[] = {
        {QKeySequence(Qt::ALT | Qt::Key_Left), -1, &w, Qt::WindowShortcut},
        {QKeySequence(Qt::ALT | Qt::Key_Right), 1, &w, Qt::WindowShortcut},
        {QKeySequence(Qt::Key_PageUp), -1, w.frame("fraMain"), Qt::WidgetWithChildrenShortcut},
        {QKeySequence(Qt::Key_PageDown), 1, w.frame("fraMain"), Qt::WidgetWithChildrenShortcut},
    };
    QList<QShortcut*> paging;
    for (const auto& step : steps) {
        auto* shortcut = new QShortcut(step.key, step.owner, nullptr, nullptr, step.context);
        QObject::connect(shortcut, &QShortcut::activated, &w, [&w, by = step.by] { Step(w, by); });
        if (step.context != Qt::WindowShortcut) paging << shortcut;
    }
    // A text page, the history grid and other scrolling views keep PageUp /
    // PageDown for themselves: typing in a page never leaves the title.
    QObject::connect(qApp, &QApplication::focusChanged, &w, [paging](QWidget*, QWidget* now) {
        bool scrolls = false;
        for (QWidget* p = now; p && !scrolls; p = p->parentWidget()) {
            scrolls = qobject_cast<QAbstractScrollArea*>(p) != nullptr;
        }
        for (QShortcut* shortcut : paging) shortcut->setEnabled(!scrolls);
    });
}
