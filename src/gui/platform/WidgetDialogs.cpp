// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStringList>

QStringList toQtNameFilters(const QString& pipeSeparatedFilter) {
    const QStringList parts = pipeSeparatedFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        const QString pattern = parts.at(i + 1).trimmed();
        if (description.isEmpty() && pattern.isEmpty())
            continue;
        // Qt reads the patterns from the parentheses of the description; add them when
        // the description does not already show them.
        const QString shown = QLatin1Char('(') + pattern + QLatin1Char(')');
        filters << (description.contains(shown) ? description
                                                : description + QLatin1Char(' ') + shown);
    }
    return filters;
}

namespace {
QMessageBox::Icon toQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

QString elidedLines(const QString& text, const QFontMetrics& metrics, int width) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = metrics.elidedText(line, Qt::ElideMiddle, width);
    return lines.join(QLatin1Char('\n'));
}

namespace {
// Wider lines are elided in the middle rather than clipped by the box.
constexpr int MessageLineWidth = 640;

void prepare(QMessageBox& box, const QString& text, MessageButtons buttons, MessageIcon icon,
             const QString& title) {
    box.setIcon(toQtIcon(icon));
    box.setWindowTitle(title);
    // The instrument messages join their lines with a lone carriage return.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(elidedLines(shown, box.fontMetrics(), MessageLineWidth));
    box.setTextFormat(Qt::PlainText);
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        // Escape keeps the file's content: it answers No, which appends.
        box.setEscapeButton(QMessageBox::No);
        break;
    }
}

MessageAnswer answerOf(int button) {
    switch (button) {
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}
} // namespace

MessageAnswer WidgetDialogs::message(const QString& text, MessageButtons buttons, MessageIcon icon,
                                     const QString& title) {
    QMessageBox box(QApplication::activeWindow());
    prepare(box, text, buttons, icon, title);
    return answerOf(box.exec());
}

void WidgetDialogs::messageThen(const QString& text, MessageButtons buttons, MessageIcon icon,
                                const QString& title, QWidget* owner,
                                std::function<void(MessageAnswer)> then) {
    auto* box = new QMessageBox(owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    prepare(*box, text, buttons, icon, title);
    QObject::connect(box, &QMessageBox::finished, box,
                     [then = std::move(then)](int button) { then(answerOf(button)); });
    box->open();
}

namespace {
std::optional<QString> chosenFile(const QFileDialog& dialog, int result) {
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
} // namespace

std::optional<QString> WidgetDialogs::chooseFile(const QString& filter, const QString& title) {
    QFileDialog dialog(QApplication::activeWindow(), title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A name that does not exist yet is allowed: the log file is created.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(toQtNameFilters(filter));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    return chosenFile(dialog, dialog.exec());
}

namespace {
// "PNG image (*.png)" gives "png"; a filter of several or of no plain patterns gives nothing.
QString suffixOf(const QString& qtNameFilter) {
    static const QRegularExpression onePattern(QStringLiteral("\\(\\*\\.(\\w+)\\)$"));
    return onePattern.match(qtNameFilter).captured(1);
}

void prepareSave(QFileDialog& dialog, const QString& filter) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = toQtNameFilters(filter);
    dialog.setNameFilters(filters);
    // A name typed without a suffix gets the one of the filter chosen.
    if (!filters.isEmpty())
        dialog.setDefaultSuffix(suffixOf(filters.constFirst()));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString& chosen) { dialog.setDefaultSuffix(suffixOf(chosen)); });
}

// Opens a dialog made for it, which goes when it closes, and tells then the file chosen.
void openThen(QFileDialog* dialog, std::function<void(const std::optional<QString>&)> then) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(
        dialog, &QFileDialog::finished, dialog,
        [dialog, then = std::move(then)](int result) { then(chosenFile(*dialog, result)); });
    dialog->open();
}
} // namespace

std::optional<QString> WidgetDialogs::chooseSaveFile(const QString& filter, const QString& title) {
    QFileDialog dialog(QApplication::activeWindow(), title);
    prepareSave(dialog, filter);
    const int result = dialog.exec();
    return chosenFile(dialog, result);
}

void WidgetDialogs::chooseSaveFileThen(const QString& filter, const QString& title, QWidget* owner,
                                       std::function<void(const std::optional<QString>&)> then) {
    auto* dialog = new QFileDialog(owner, title);
    prepareSave(*dialog, filter);
    openThen(dialog, std::move(then));
}

void WidgetDialogs::chooseExistingFileThen(
    const QString& filter, const QString& title, QWidget* owner,
    std::function<void(const std::optional<QString>&)> then) {
    auto* dialog = new QFileDialog(owner, title);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilters(toQtNameFilters(filter));
    openThen(dialog, std::move(then));
}
