#pragma once

#include <optional>
#include <QDateEdit>

class QLabel;

// A date field ("dd.MM.yyyy" with a calendar) that also takes a whole date typed at once after it gains
// the focus or is clicked: "15032024", "15.03.2024", "15.3.24". Arrow keys still step section by section.
// It can be empty, for a correction whose stored date it cannot show; it then keeps the stored value,
// names it in its notice ("Gespeichertes Datum nicht lesbar: …") and hands it back until the user sets
// a date.
class DateField : public QDateEdit {
    Q_OBJECT
public:
    // A day number and, for a stored value that is no day number, its stored text.
    struct Stored {
        std::optional<int> day;
        QString text;
    };

    DateField(const QString& objectName, QWidget* parent);

    // The whole date typed as text; nullopt when it is no date.
    static std::optional<QDate> parseTyped(const QString& text, const QDate& today);

    // Shows a stored date; one the field cannot show, or a stored text that is no date, leaves the field
    // empty with its notice, and is what value() gives until the user sets a date.
    void showStored(const Stored& stored);
    // The date to store: the one shown, or the stored value kept while the field is empty.
    Stored value() const;
    bool isEmpty() const;
    // After a correction: an empty field shows today again, and its notice goes.
    void endCorrection();
    // The notice for a stored date the field cannot show; the screen places it beside the field.
    QLabel* notice() const { return m_notice; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    QValidator::State validate(QString& input, int& pos) const override;

private:
    // Ends the typing of a whole date: the date typed is taken, anything else brings the shown date back.
    void finishTyping();
    void forgetStored();

    QLabel* m_notice = nullptr;
    Stored m_kept;
    // Set by gaining the focus or a click: the next digit starts a whole date.
    bool m_armed = false;
    // The whole date being typed, while it is typed.
    std::optional<QString> m_typed;
};
