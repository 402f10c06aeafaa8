#include "DemoOfficeGenerator.h"

#include "DayNumber.h"
#include "GermanNames.h"
#include "OfficeRowWriter.h"
#include "Random.h"

#include <QDate>
#include <QList>
#include <QSet>

namespace {

constexpr std::uint64_t kSeed = 4711;

const char* const kProjectNames[DemoOfficeGenerator::kProjects] = {
    "Grundschule Am Lindenhof - Sanierung",       "Sporthalle Kirchberg - Neubau",
    "Rathaus Altstadt - Brandschutzertüchtigung", "Kindertagesstätte Sonnenschein - Erweiterung",
    "Feuerwehrgerätehaus Nord - Neubau",          "Gesamtschule Fuldatal - Energetische Sanierung",
};

bool failWith(QString* error, const QString& text) {
    if (error != nullptr)
        *error = text;
    return false;
}

// A whole amount of euros rounded to a plausible figure, with random cents.
qint64 plausibleCents(Random& random, int minEuros, int maxEuros) {
    return static_cast<qint64>(random.between(minEuros, maxEuros)) * 100 + random.below(100);
}

QString costGroupFor(const QStringList& costGroups, const QString& trade) {
    const QString number = GermanNames::costGroupNumber(trade) + QLatin1Char(' ');
    for (const QString& costGroup : costGroups) {
        if (costGroup.startsWith(number))
            return costGroup;
    }
    return costGroups.first();
}

} // namespace

bool DemoOfficeGenerator::generate(const QString& filePath, QString* error) {
    OfficeRowWriter writer;
    if (!writer.createAndOpen(filePath, error))
        return false;
    Random random(kSeed);
    const QStringList trades = writer.trades();
    const QStringList costGroups = writer.costGroups();
    if (trades.isEmpty() || costGroups.isEmpty())
        return failWith(error, QStringLiteral("Die neue Datei enthält keine Gewerke oder Kostengruppen."));

    QList<Company> companies;
    QSet<QString> names;
    while (companies.size() < kCompanies) {
        Company c;
        const int tradeIndex = static_cast<int>(companies.size() % trades.size());
        c.trade = trades.at(tradeIndex);
        c.costGroup = costGroupFor(costGroups, c.trade);
        c.name = GermanNames::companyName(random, c.trade);
        if (names.contains(c.name.toLower()))
            continue;
        names.insert(c.name.toLower());
        const auto [postcode, town] = GermanNames::postcodeAndTown(random);
        c.postcode = postcode;
        c.town = town;
        c.street = GermanNames::street(random);
        c.phone = GermanNames::phone(random, postcode);
        c.fax = GermanNames::phone(random, postcode);
        c.email = GermanNames::email(c.name);
        c.contact = GermanNames::person(random);
        c.id = writer.addCompany(c);
        if (c.id == 0)
            return failWith(error, writer.lastError());
        companies << c;
    }

    const QStringList paymentKinds = GermanNames::paymentKinds();
    const QStringList orderKinds = GermanNames::orderKinds();
    const QDate firstDay(2023, 1, 9);
    for (int p = 0; p < kProjects; ++p) {
        const QString name = QString::fromUtf8(kProjectNames[p]);
        const QDate start = firstDay.addDays(random.between(0, 540));
        const qint64 id = writer.addProject(name, DayNumber::fromDate(start));
        if (id == 0)
            return failWith(error, writer.lastError());
        const QString projectId = QString::number(id);
        int runningNumber = 1;
        const int involved = random.between(7, 11);
        for (int k = 0; k < involved; ++k) {
            const Company& company = companies.at((p * 7 + k * 3) % companies.size());
            const QDate orderDay = start.addDays(random.between(10, 120));
            const qint64 architect = plausibleCents(random, 8000, 250000);
            const qint64 award = architect * random.between(88, 112) / 100;
            int nid = 1;
            OfficeRowWriter::EstimateValues order{nid++,
                                                  projectId,
                                                  name,
                                                  company.name,
                                                  company.trade,
                                                  company.costGroup,
                                                  DayNumber::fromDate(orderDay.addDays(-30)),
                                                  architect,
                                                  DayNumber::fromDate(orderDay),
                                                  orderKinds.first(),
                                                  award};
            if (!writer.addEstimate(order))
                return failWith(error, writer.lastError());
            qint64 total = award;
            for (int s = random.below(3); s > 0; --s) {
                const qint64 supplement = plausibleCents(random, 400, 18000);
                total += supplement;
                OfficeRowWriter::EstimateValues row{nid,
                                                    projectId,
                                                    name,
                                                    company.name,
                                                    company.trade,
                                                    company.costGroup,
                                                    std::nullopt,
                                                    std::nullopt,
                                                    DayNumber::fromDate(orderDay.addDays(40 * nid)),
                                                    orderKinds.at(nid - 1),
                                                    supplement};
                ++nid;
                if (!writer.addEstimate(row))
                    return failWith(error, writer.lastError());
            }
            const int instalments = random.between(2, 8);
            const bool finished = random.below(3) != 0;
            qint64 paid = 0;
            QDate day = orderDay.addDays(random.between(20, 45));
            for (int n = 0; n < instalments && day.year() <= 2026; ++n) {
                const bool last = finished && n == instalments - 1;
                qint64 amount = (total * random.between(60, 85) / 100) / instalments;
                amount = amount / 100 * 100 + random.below(100);
                if (last)
                    amount = total - paid - total / 20;
                paid += amount;
                OfficeRowWriter::BookingValues b;
                b.runningNumber = runningNumber++;
                b.projectId = projectId;
                b.project = name;
                b.company = company.name;
                b.trade = company.trade;
                b.costGroup = company.costGroup;
                b.instructedOn = DayNumber::fromDate(day);
                b.invoiceDate = DayNumber::fromDate(day.addDays(-random.between(5, 21)));
                b.invoiceNumber = QStringLiteral("%1-%2").arg(day.year()).arg(random.between(100, 9999));
                b.paymentKind = last ? paymentKinds.first() : paymentKinds.at(2 + n);
                if (random.below(5) == 0)
                    b.remarks = last ? QStringLiteral("5 % Sicherheitseinbehalt")
                                     : QStringLiteral("geprüft durch Architekt");
                b.cents = amount;
                if (!writer.addBooking(b))
                    return failWith(error, writer.lastError());
                day = day.addDays(random.between(21, 60));
            }
        }
    }
    if (!writer.addBudgets() || !writer.finish())
        return failWith(error, writer.lastError());
    return true;
}
