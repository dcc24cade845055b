// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <utility>

class QFontMetrics;
class QWidget;

enum class MessageIcon { None, Exclamation, Information, Critical, Question };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// Message boxes and the file dialogs behind one seam: the program shows real ones,
// the tests answer from a script and record what was asked.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal message box. An empty title is not replaced here: callers pass the
    // application's title where a box names none of its own.
    virtual MessageAnswer message(const QString& text, MessageButtons buttons, MessageIcon icon,
                                  const QString& title) = 0;

    // An open-file dialog. The filter is given as "description|pattern|description|pattern|".
    // Returns the chosen full path, or nothing when the operator cancels.
    virtual std::optional<QString> chooseFile(const QString& filter, const QString& title) = 0;

    // A save-file dialog with the same filter notation; the dialog itself asks before an
    // existing file is replaced. Returns the chosen full path, or nothing on cancel.
    virtual std::optional<QString> chooseSaveFile(const QString& filter, const QString& title) = 0;

    // The same message and save dialog without a nested event loop, for a window whose
    // dialogs must not hold up a run: the call returns at once, and then() runs with the
    // answer when the operator gives it (never, if owner has gone first). The dialog is
    // modal to owner's window only. By default the modal ones above, answered at once.
    // The callbacks are taken by value: the real dialogs keep them until the answer comes.
    virtual void messageThen(const QString& text, MessageButtons buttons, MessageIcon icon,
                             const QString& title, QWidget* owner,
                             std::function<void(MessageAnswer)> then) {
        Q_UNUSED(owner)
        const auto answered = std::move(then);
        answered(message(text, buttons, icon, title));
    }
    // An open-file dialog for a file that exists, in the same manner.
    virtual void chooseExistingFileThen(const QString& filter, const QString& title, QWidget* owner,
                                        std::function<void(const std::optional<QString>&)> then) {
        Q_UNUSED(owner)
        const auto answered = std::move(then);
        answered(chooseFile(filter, title));
    }
    virtual void chooseSaveFileThen(const QString& filter, const QString& title, QWidget* owner,
                                    std::function<void(const std::optional<QString>&)> then) {
        Q_UNUSED(owner)
        const auto answered = std::move(then);
        answered(chooseSaveFile(filter, title));
    }
};

// Turns "Csv files (*.csv)|*.csv| All Files (*.*)|*.*|" into the name filters of a Qt dialog.
QStringList toQtNameFilters(const QString& pipeSeparatedFilter);

// Each line of a message that is wider than width, elided in the middle ("/dev/tty…S0"),
// so that a long path shows its start and its end.
QString elidedLines(const QString& text, const QFontMetrics& metrics, int width);

// The real message boxes and file dialog.
class WidgetDialogs final : public Dialogs {
public:
    MessageAnswer message(const QString& text, MessageButtons buttons, MessageIcon icon,
                          const QString& title) override;
    std::optional<QString> chooseFile(const QString& filter, const QString& title) override;
    std::optional<QString> chooseSaveFile(const QString& filter, const QString& title) override;
    void messageThen(const QString& text, MessageButtons buttons, MessageIcon icon,
                     const QString& title, QWidget* owner,
                     std::function<void(MessageAnswer)> then) override;
    void chooseExistingFileThen(const QString& filter, const QString& title, QWidget* owner,
                                std::function<void(const std::optional<QString>&)> then) override;
    void chooseSaveFileThen(const QString& filter, const QString& title, QWidget* owner,
                            std::function<void(const std::optional<QString>&)> then) override;
};
