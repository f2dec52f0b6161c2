#include "KNModalAlertPresenter.h"

#include "MessageText.h"

#include <QApplication>
#include <QMessageBox>

namespace {

// A run of this many characters without a space may be broken after any of them.
constexpr int longestUnbrokenRun = 40;

// text with a zero-width space in every long run of characters without white space (a long
// identifier, a path, a cut message), so the alert wraps it instead of running off its edge.
QString breakable(const QString& text) {
    QString result;
    result.reserve(text.size() + text.size() / longestUnbrokenRun);
    int run = 0;
    for (const QChar c : text) {
        result += c;
        run = c.isSpace() ? 0 : run + 1;
        // Never between the halves of a surrogate pair.
        if (run >= longestUnbrokenRun && !c.isHighSurrogate()) {
            result += QChar(0x200B);
            run = 0;
        }
    }
    return result;
}

} // namespace

void KNModalAlertPresenter::presentError(const KNError& error, const std::string& documentName) {
    QMessageBox alert(QApplication::activeWindow());
    alert.setIcon(QMessageBox::Warning);
    alert.setWindowTitle(documentName.empty()
                             ? QApplication::applicationDisplayName()
                             : QString::fromStdString(kinora::boundedValue(documentName)));
    // Script messages may hold angle brackets; never let them be read as markup.
    alert.setTextFormat(Qt::PlainText);
    // However long what it quotes, the alert stays one that can be laid out and read.
    alert.setText(breakable(QString::fromStdString(kinora::boundedMessage(error.failureReason))));
    if (error.line) {
        alert.setInformativeText(QObject::tr("At line %1 of the script.").arg(*error.line));
    }
    alert.setStandardButtons(QMessageBox::Ok);
    alert.setWindowModality(Qt::ApplicationModal);
    alert.exec();
}
