#include "KNModalAlertPresenter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct SeenAlert {
    bool seen = false;
    QString text;
    QString informativeText;
    int width = 0;
    QString title;
    Qt::TextFormat format = Qt::AutoText;
    QList<QAbstractButton*> buttons;
    bool modal = false;
};

// Inspects the alert once it is up, then dismisses it with its button.
void dismissWhenShown(SeenAlert* seen) {
    // An earlier test that closed the last window outside the application's loop leaves the
    // application quitting, which ends every nested loop (the alert's) at once; a run of the
    // application's own loop clears that.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    QTimer::singleShot(50, [seen] {
        auto* alert = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!alert) {
            dismissWhenShown(seen);
            return;
        }
        seen->seen = true;
        seen->text = alert->text();
        seen->informativeText = alert->informativeText();
        seen->width = alert->width();
        seen->title = alert->windowTitle();
        seen->format = alert->textFormat();
        seen->buttons = alert->buttons();
        seen->modal = alert->isModal();
        alert->button(QMessageBox::Ok)->click();
    });
}

TEST(ModalAlertPresenterTest, ShowsTheReasonAsPlainTextAndWaitsForOK) {
    KNModalAlertPresenter presenter;
    SeenAlert seen;
    dismissWhenShown(&seen);
    presenter.presentError({"KNJavascriptErrorDomain", 0, "<b>x</b> is not defined"}, "tent.js");
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.text, "<b>x</b> is not defined");
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.title, "tent.js");
    EXPECT_EQ(seen.buttons.size(), 1);
    EXPECT_TRUE(seen.modal);

    SeenAlert untitled;
    dismissWhenShown(&untitled);
    presenter.presentError({"KNJavascriptErrorDomain", 0, "no name"}, "");
    EXPECT_EQ(untitled.title, QApplication::applicationDisplayName());
}

TEST(ModalAlertPresenterTest, NamesTheLineApartAndWrapsALongMessage) {
    KNModalAlertPresenter presenter;
    SeenAlert seen;
    dismissWhenShown(&seen);
    const std::string cut = std::string(1020, 'x') + "\u2026";
    presenter.presentError({"KNJavascriptErrorDomain", 0, cut, 3}, "long.js");
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.text.remove(QChar(0x200B)), QString::fromStdString(cut));
    EXPECT_EQ(seen.informativeText, "At line 3 of the script.");
    EXPECT_LT(seen.width, 1000);
}

} // namespace
