#pragma once

#include <QString>

#include <optional>

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
};

// Turns "Csv files (*.csv)|*.csv| All Files (*.*)|*.*|" into the name filters of a Qt dialog.
QStringList toQtNameFilters(const QString& pipeSeparatedFilter);

// The real message boxes and file dialog.
class WidgetDialogs final : public Dialogs {
public:
    MessageAnswer message(const QString& text, MessageButtons buttons, MessageIcon icon,
                          const QString& title) override;
    std::optional<QString> chooseFile(const QString& filter, const QString& title) override;
    std::optional<QString> chooseSaveFile(const QString& filter, const QString& title) override;
};
