#include "GermanCollator.h"

#include <QLocale>

QCollator GermanCollator::make() {
    QCollator collator(QLocale(QLocale::German, QLocale::Germany));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    return collator;
}
