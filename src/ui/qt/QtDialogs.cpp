#include "ui/qt/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace tollen::ui::qt {
namespace {

QString toQString(const std::string &text)
{
    return QString::fromStdString(text);
}

QString titleOrApplication(const std::string &title)
{
    return toQString(title.empty() ? std::string(controls::kApplicationTitle) : title);
}

controls::FileDialogResult showFileDialog(const controls::FileDialogRequest &request,
                                          QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    if (!request.title.empty()) {
        dialog.setWindowTitle(toQString(request.title));
    }
    const QStringList filters = toNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
    }
    dialog.setOption(QFileDialog::DontConfirmOverwrite,
                     (request.flags & controls::kOverwritePrompt) == 0);
    std::string extension = request.defaultExtension;
    if (!extension.empty() && extension.front() == '.') {
        extension.erase(0, 1);
    }
    dialog.setDefaultSuffix(toQString(extension));
    if (!request.initialName.empty()) {
        dialog.selectFile(toQString(request.initialName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        // Like the script-driven dialogs, a cancel is always reported as the cancel error.
        return controls::FileDialogResult{controls::kCancelError, {}};
    }
    return controls::FileDialogResult{0, dialog.selectedFiles().constFirst().toStdString()};
}

} // namespace

int QtDialogs::messageBox(const std::string &text, controls::MessageButtons buttons,
                          const std::optional<std::string> &title)
{
    QMessageBox box(QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setText(toQString(text));
    box.setWindowTitle(toQString(title.value_or(controls::kApplicationTitle)));
    switch (buttons) {
    case controls::MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case controls::MessageButtons::OkStop:
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case controls::MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    const int answer = box.exec();
    if (buttons == controls::MessageButtons::YesNo) {
        return answer == QMessageBox::Yes ? controls::kAnswerYes : controls::kAnswerNo;
    }
    return controls::kAnswerOk;
}

std::string QtDialogs::inputBox(const std::string &prompt, const std::string &title,
                                const std::string &defaultText)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(titleOrApplication(title));
    dialog.setLabelText(toQString(prompt));
    dialog.setTextValue(toQString(defaultText));
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.textValue().toStdString();
}

controls::FileDialogResult QtDialogs::showOpen(const controls::FileDialogRequest &request)
{
    return showFileDialog(request, QFileDialog::AcceptOpen);
}

controls::FileDialogResult QtDialogs::showSave(const controls::FileDialogRequest &request)
{
    return showFileDialog(request, QFileDialog::AcceptSave);
}

QStringList toNameFilters(const std::string &filter)
{
    QStringList filters;
    for (const auto &[description, pattern] : controls::parseFilter(filter)) {
        QStringList patterns = toQString(pattern).split(u';', Qt::SkipEmptyParts);
        for (QString &each : patterns) {
            each = each.trimmed();
            if (each == u"*.*") {
                each = QStringLiteral("*");
            }
        }
        const QString joined = patterns.join(u' ');
        QString text = toQString(description);
        if (text.endsWith(u')') && text.contains(u'(')) {
            // "All Files (*.*)": keep the words, give Qt the patterns it matches with.
            text = text.left(text.lastIndexOf(u'(')).trimmed();
        }
        filters.append(text + QStringLiteral(" (") + joined + u')');
    }
    return filters;
}

} // namespace tollen::ui::qt
