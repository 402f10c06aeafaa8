#include "CompanyPicker.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QStringListModel>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QtMath>

#include <utility>

namespace {
// The widest of the names last measured: the entry and company pickers list the same register.
struct WidestName {
    QString font;
    QStringList names;
    int width = 0;
};

int widestName(const QFontMetrics& metrics, const QString& font, const QStringList& names) {
    static WidestName last;
    if (last.font == font && last.names == names)
        return last.width;
    int width = 0;
    for (const QString& name : names)
        width = qMax(width, metrics.boundingRect(name).width());
    last = WidestName{font, names, width};
    return width;
}
} // namespace

CompanyPicker::CompanyPicker(const QString& objectName, QWidget* parent)
    : QComboBox(parent), m_names(new QStringListModel(this)) {
    setObjectName(objectName);
    setModel(m_names);
    setMinimumContentsLength(30);
}

QLabel* CompanyPicker::labelFor(QWidget* field, const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(field);
    return label;
}

QStringList CompanyPicker::names() const {
    return m_names->stringList();
}

void CompanyPicker::setNames(const QStringList& names, int current) {
    m_names->setStringList(names);
    setCurrentIndex(current);
}

bool CompanyPicker::choose(const QString& name) {
    const int index = findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    setCurrentIndex(index);
    return true;
}

QSize CompanyPicker::sizeHint() const {
    if (m_sizeHint.isValid())
        return m_sizeHint;
    const QFontMetrics metrics = fontMetrics();
    const QStringList listed = names();
    QSize hint(listed.isEmpty()
                   ? 7 * metrics.horizontalAdvance(QLatin1Char('x'))
                   : widestName(metrics, font().toString() + QString::number(logicalDpiX()), listed),
               0);
    hint.setWidth(qMax(hint.width(), minimumContentsLength() * metrics.horizontalAdvance(QLatin1Char('X'))));
    hint.setHeight(qMax(qCeil(QFontMetricsF(metrics).height()), 14) + 2);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    m_sizeHint = style()->sizeFromContents(QStyle::CT_ComboBox, &option, hint, this);
    return m_sizeHint;
}

// Like the combo box, the hint is taken afresh at the first show and then kept while the names change.
void CompanyPicker::showEvent(QShowEvent* event) {
    if (!std::exchange(m_shownOnce, true)) {
        m_sizeHint = QSize();
        updateGeometry();
    }
    QComboBox::showEvent(event);
}

void CompanyPicker::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_sizeHint = QSize();
    QComboBox::changeEvent(event);
}

void CompanyPicker::chooseUnlisted(const QString& name) {
    setCurrentIndex(-1);
    m_names->insertRows(0, 1);
    m_names->setData(m_names->index(0), name);
    setCurrentIndex(0);
}
