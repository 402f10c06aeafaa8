#include "DateField.h"

#include "DayNumber.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalBlocker>

namespace {
// A two-digit year lies at most this many years ahead; an earlier one belongs to the century before.
constexpr int kYearsAhead = 20;
constexpr int kLongestTyped = 10;

bool isDigitKey(const QString& text) {
    return text.size() == 1 && text.front().isDigit();
}
} // namespace

DateField::DateField(const QString& objectName, QWidget* parent) : QDateEdit(QDate::currentDate(), parent) {
    setObjectName(objectName);
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    // The lowest date the field holds stands for "empty" and shows as a blank.
    setSpecialValueText(QStringLiteral(" "));
    m_notice = new QLabel(parent);
    m_notice->setObjectName(objectName + QStringLiteral("Hinweis"));
    m_notice->setTextFormat(Qt::PlainText);
    m_notice->setWordWrap(true);
    m_notice->setStyleSheet(QStringLiteral("color: #a00000;"));
    m_notice->hide();
    connect(this, &QDateEdit::dateChanged, this, [this] {
        if (!isEmpty())
            forgetStored();
    });
}

std::optional<QDate> DateField::parseTyped(const QString& text, const QDate& today) {
    static const QRegularExpression separated(
        QStringLiteral(R"(^(\d{1,2})\.(\d{1,2})(?:\.(\d{2}|\d{4})?)?$)"));
    static const QRegularExpression digits(QStringLiteral(R"(^(\d{2})(\d{2})(\d{2}|\d{4})$)"));
    QRegularExpressionMatch match = separated.match(text);
    if (!match.hasMatch())
        match = digits.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QString yearText = match.captured(3);
    int year = yearText.isEmpty() ? today.year() : yearText.toInt();
    if (yearText.size() == 2) {
        year += today.year() / 100 * 100;
        if (year > today.year() + kYearsAhead)
            year -= 100;
    }
    const QDate date(year, match.captured(2).toInt(), match.captured(1).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

void DateField::showStored(const Stored& stored) {
    if (stored.day) {
        const QDate date = DayNumber::toDate(*stored.day);
        if (date.isValid() && date > minimumDate() && date <= maximumDate()) {
            setDate(date);
            forgetStored();
            return;
        }
    }
    setDate(minimumDate());
    m_kept = stored;
    const QString shown = stored.text.isEmpty() && stored.day ? QString::number(*stored.day) : stored.text;
    m_notice->setText(QStringLiteral("Gespeichertes Datum nicht lesbar: ") + shown);
    m_notice->setVisible(!shown.isEmpty());
}

DateField::Stored DateField::value() const {
    if (isEmpty())
        return m_kept;
    return {DayNumber::fromDate(date()), QString()};
}

bool DateField::isEmpty() const {
    return date() == minimumDate();
}

void DateField::endCorrection() {
    if (isEmpty())
        setDate(QDate::currentDate());
    forgetStored();
}

void DateField::forgetStored() {
    m_kept = Stored();
    m_notice->hide();
}

void DateField::finishTyping() {
    if (!m_typed)
        return;
    const QString typed = *std::exchange(m_typed, std::nullopt);
    if (const std::optional<QDate> date = parseTyped(typed, QDate::currentDate());
        date && *date > minimumDate()) {
        setDate(*date);
        return;
    }
    // Brings back the date shown before, and says why.
    setDate(date());
    m_notice->setText(QStringLiteral("„%1“ ist kein Datum (TT.MM.JJJJ).").arg(typed));
    m_notice->show();
}

void DateField::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const bool plain = !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
    const bool separator = text == QLatin1String(".") || text == QLatin1String(",");
    if (plain && (m_typed || ((m_armed || isEmpty()) && isDigitKey(text)))) {
        m_armed = false;
        if (isDigitKey(text) || (separator && m_typed)) {
            const QString typed = m_typed.value_or(QString()) + (separator ? QStringLiteral(".") : text);
            if (typed.size() <= kLongestTyped && typed.count(QLatin1Char('.')) <= 2) {
                m_typed = typed;
                const QSignalBlocker quiet(lineEdit());
                lineEdit()->setText(typed);
            }
            event->accept();
            // Eight digits, or a four-digit year after two points, are a whole date.
            static const QRegularExpression whole(QStringLiteral(R"(^(\d{8}|\d{1,2}\.\d{1,2}\.\d{4})$)"));
            if (whole.match(*m_typed).hasMatch())
                finishTyping();
            return;
        }
        switch (event->key()) {
        case Qt::Key_Backspace: {
            m_typed->chop(1);
            const QSignalBlocker quiet(lineEdit());
            lineEdit()->setText(*m_typed);
            event->accept();
            return;
        }
        case Qt::Key_Escape:
            m_typed.reset();
            setDate(date());
            event->accept();
            return;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            finishTyping();
            focusNextPrevChild(event->key() == Qt::Key_Tab);
            event->accept();
            return;
        default:
            finishTyping();
            break;
        }
    } else if (!isDigitKey(text)) {
        m_armed = false;
    }
    QDateEdit::keyPressEvent(event);
}

void DateField::focusInEvent(QFocusEvent* event) {
    QDateEdit::focusInEvent(event);
    m_armed = true;
}

void DateField::focusOutEvent(QFocusEvent* event) {
    finishTyping();
    QDateEdit::focusOutEvent(event);
}

void DateField::mousePressEvent(QMouseEvent* event) {
    finishTyping();
    const bool wasEmpty = isEmpty();
    QDateEdit::mousePressEvent(event);
    m_armed = true;
    // The calendar of an empty field opens on this month, not at the field's lowest date.
    if (wasEmpty && calendarWidget())
        calendarWidget()->setCurrentPage(QDate::currentDate().year(), QDate::currentDate().month());
}

QValidator::State DateField::validate(QString& input, int& pos) const {
    if (m_typed)
        return QValidator::Intermediate;
    return QDateEdit::validate(input, pos);
}
