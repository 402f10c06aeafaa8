#include "LargeOfficeGenerator.h"

#include "DayNumber.h"
#include "GermanNames.h"
#include "OfficeRowWriter.h"
#include "PlainConnection.h"
#include "Random.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <vector>

namespace {

constexpr std::uint64_t kSeed = 20240917;
constexpr int kBigProjectIndex = 149;
constexpr int kRenameCompanyIndex = 2499;
// Every tenth booking and estimate row goes to the big project, every tenth (with another offset) to
// the company that the rename benchmark changes; so both are spread over the whole table. One in ten of
// the big project's bookings is that company's, and as many of its other bookings go to other companies,
// so that it keeps its 20,000 bookings, 2,000 of them in the big project. All its estimate rows are in
// the big project, so that the company tab and the cost report there have 4,000 of them to read.
constexpr int kBigProjectSlot = 3;
constexpr int kRenameCompanySlot = 7;
// Within a hundred bookings: the big project's booking that is the company's, and the company's
// booking elsewhere that goes to another company instead.
constexpr int kRenameCompanyInBigProjectSlot = 3;
constexpr int kRenameCompanyGivenAwaySlot = 7;

struct ProjectRow {
    QString id;
    QString name;
    int nextRunningNumber = 1;
};

bool failWith(QString* error, const QString& text) {
    if (error != nullptr)
        *error = text;
    return false;
}

QList<Company> makeCompanies(Random& random, const QStringList& trades, const QStringList& costGroups) {
    QList<Company> companies;
    QSet<QString> names;
    for (int i = 0; i < LargeOfficeGenerator::kCompanies; ++i) {
        Company c;
        c.trade = trades.at(random.below(static_cast<int>(trades.size())));
        c.costGroup = costGroups.at(random.below(static_cast<int>(costGroups.size())));
        c.name = i == kRenameCompanyIndex ? QStringLiteral("Bauunternehmung Krämer & Söhne GmbH")
                                          : GermanNames::companyName(random, c.trade);
        for (int branch = 2; names.contains(c.name.toLower()); ++branch)
            c.name = c.name.section(QStringLiteral(", Niederlassung"), 0, 0) +
                     QStringLiteral(", Niederlassung ") + QString::number(branch);
        names.insert(c.name.toLower());
        const auto [postcode, town] = GermanNames::postcodeAndTown(random);
        c.postcode = postcode;
        c.town = town;
        c.street = GermanNames::street(random);
        c.phone = GermanNames::phone(random, postcode);
        c.fax = random.below(2) == 0 ? QString() : GermanNames::phone(random, postcode);
        c.mobile = random.below(3) == 0
                       ? QStringLiteral("0171/") + QString::number(random.between(1000000, 9999999))
                       : QString();
        c.email = GermanNames::email(c.name);
        c.contact = GermanNames::person(random);
        companies << c;
    }
    return companies;
}

int randomDay(Random& random) {
    static const int first = DayNumber::fromDate(QDate(2015, 1, 1));
    static const int last = DayNumber::fromDate(QDate(2026, 12, 31));
    return random.between(first, last);
}

int otherIndex(Random& random, int count, int excluded) {
    const int index = random.below(count - 1);
    return index >= excluded ? index + 1 : index;
}

} // namespace

bool LargeOfficeGenerator::generate(const QString& filePath, Facts* facts, QString* error, int factor) {
    if (factor < 1 || factor > kMaxFactor)
        return failWith(error, QStringLiteral("factor %1 outside 1 to %2").arg(factor).arg(kMaxFactor));
    OfficeRowWriter writer;
    if (!writer.createAndOpen(filePath, error))
        return false;
    Random random(kSeed);

    QStringList trades = writer.trades();
    for (int i = static_cast<int>(trades.size()) + 1; i <= kTrades; ++i) {
        trades << QStringLiteral("Fachlos %1").arg(i, 3, 10, QLatin1Char('0'));
        if (!writer.addTrade(trades.last()))
            return failWith(error, writer.lastError());
    }
    QStringList costGroups = writer.costGroups();
    for (int i = static_cast<int>(costGroups.size()) + 1; i <= kCostGroups; ++i) {
        costGroups << QStringLiteral("KG %1 Sonstiges").arg(300 + i * 3);
        if (!writer.addCostGroup(costGroups.last()))
            return failWith(error, writer.lastError());
    }

    QList<ProjectRow> projects;
    for (int i = 0; i < kProjects; ++i) {
        const QString name = GermanNames::projectName(random, i);
        const qint64 id = writer.addProject(name, randomDay(random));
        if (id == 0)
            return failWith(error, writer.lastError());
        projects << ProjectRow{QString::number(id), name};
    }

    QList<Company> companies = makeCompanies(random, trades, costGroups);
    for (Company& c : companies) {
        c.id = writer.addCompany(c);
        if (c.id == 0)
            return failWith(error, writer.lastError());
    }

    // Factor 1 keeps the indexes while it writes, so that its file stays the one it has always been.
    if (factor > 1 && !writer.deferIndexes())
        return failWith(error, writer.lastError());
    const QStringList paymentKinds = GermanNames::paymentKinds();
    for (int i = 0; i < kBookings * factor; ++i) {
        ProjectRow& project =
            projects[i % 10 == kBigProjectSlot ? kBigProjectIndex
                                               : otherIndex(random, kProjects, kBigProjectIndex)];
        const bool renameCompany = i % 10 == kRenameCompanySlot ? i % 100 != kRenameCompanyGivenAwaySlot
                                                                : i % 100 == kRenameCompanyInBigProjectSlot;
        const Company& company = companies.at(
            renameCompany ? kRenameCompanyIndex : otherIndex(random, kCompanies, kRenameCompanyIndex));
        OfficeRowWriter::BookingValues b;
        b.runningNumber = project.nextRunningNumber++;
        b.projectId = project.id;
        b.project = project.name;
        b.company = company.name;
        b.trade = company.trade;
        b.costGroup = company.costGroup;
        b.instructedOn = randomDay(random);
        if (random.below(8) != 0)
            b.invoiceDate = b.instructedOn - random.between(3, 40);
        b.invoiceNumber = QStringLiteral("RE-%1-%2")
                              .arg(random.between(2015, 2026))
                              .arg(random.below(10000), 4, 10, QLatin1Char('0'));
        b.paymentKind = paymentKinds.at(random.below(static_cast<int>(paymentKinds.size())));
        if (random.below(4) == 0)
            b.remarks = QStringLiteral("Skonto 2 % abgezogen");
        b.cents = random.between(5000, 25000000);
        if (!writer.addBooking(b))
            return failWith(error, writer.lastError());
    }

    const QStringList orderKinds = GermanNames::orderKinds();
    // The last running number of each project and company, one slot per pair.
    std::vector<int> nextEstimateNumber(std::size_t(kProjects) * kCompanies, 0);
    for (int i = 0; i < kEstimateRows * factor; ++i) {
        const int drawnProject = random.below(kProjects);
        const bool renameCompany = i % 10 == kRenameCompanySlot;
        const int projectIndex = renameCompany ? kBigProjectIndex : drawnProject;
        const int companyIndex =
            renameCompany ? kRenameCompanyIndex : otherIndex(random, kCompanies, kRenameCompanyIndex);
        const ProjectRow& project = projects.at(projectIndex);
        const Company& company = companies.at(companyIndex);
        int& next = nextEstimateNumber[std::size_t(projectIndex) * kCompanies + std::size_t(companyIndex)];
        OfficeRowWriter::EstimateValues e;
        e.runningNumber = ++next;
        e.projectId = project.id;
        e.project = project.name;
        e.company = company.name;
        e.trade = company.trade;
        e.costGroup = company.costGroup;
        e.orderKind = next == 1 ? orderKinds.first() : orderKinds.at(1 + random.below(orderKinds.size() - 1));
        if (next == 1) {
            e.architectDate = randomDay(random);
            e.architectCents = random.between(100000, 90000000);
        }
        e.orderDate = randomDay(random);
        e.orderCents = random.between(50000, 80000000);
        if (!writer.addEstimate(e))
            return failWith(error, writer.lastError());
    }

    if ((factor > 1 && !writer.restoreIndexes()) || !writer.addBudgets() || !writer.finish())
        return failWith(error, writer.lastError());
    if (facts != nullptr) {
        facts->bigProjectId = projects.at(kBigProjectIndex).id;
        facts->renameCompanyId = companies.at(kRenameCompanyIndex).id;
        facts->renameCompanyName = companies.at(kRenameCompanyIndex).name;
    }
    return true;
}

bool LargeOfficeGenerator::readFacts(const QString& filePath, Facts* facts, QString* error) {
    PlainConnection db(filePath);
    if (!db.isOpen())
        return failWith(error, db.lastError());
    Facts found;
    const bool ok =
        db.query("SELECT ProjektID FROM tblBuchung GROUP BY ProjektID ORDER BY COUNT(*) DESC LIMIT 1", {},
                 [&found](const PlainRow& record) { found.bigProjectId = record.text(0); }) &&
        db.query("SELECT ID, Name FROM tblFirma WHERE Name = (SELECT Firma FROM tblBuchung GROUP BY Firma "
                 "ORDER BY COUNT(*) DESC LIMIT 1) ORDER BY ID LIMIT 1",
                 {}, [&found](const PlainRow& record) {
                     found.renameCompanyId = record.integer(0);
                     found.renameCompanyName = record.text(1);
                 });
    if (!ok)
        return failWith(error, db.lastError());
    if (found.bigProjectId.isEmpty() || found.renameCompanyId == 0)
        return failWith(error,
                        QStringLiteral("%1 holds no bookings or no company with bookings").arg(filePath));
    *facts = found;
    return true;
}
