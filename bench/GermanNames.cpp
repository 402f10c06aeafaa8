#include "GermanNames.h"

#include "Random.h"

#include <iterator>
#include <QPair>

namespace {

const char* const kSurnames[] = {
    "Krämer",   "Müller",    "Schmidt",  "Schneider", "Fischer",    "Weber",    "Meyer",    "Wagner",
    "Becker",   "Schulz",    "Hoffmann", "Schäfer",   "Koch",       "Bauer",    "Richter",  "Klein",
    "Wolf",     "Schröder",  "Neumann",  "Schwarz",   "Zimmermann", "Braun",    "Krüger",   "Hofmann",
    "Hartmann", "Lange",     "Schmitt",  "Werner",    "Schmitz",    "Krause",   "Meier",    "Lehmann",
    "Köhler",   "Herrmann",  "König",    "Walter",    "Mayer",      "Huber",    "Kaiser",   "Fuchs",
    "Peters",   "Lang",      "Scholz",   "Möller",    "Weiß",       "Jung",     "Hahn",     "Schubert",
    "Vogel",    "Friedrich", "Keller",   "Günther",   "Frank",      "Berger",   "Winkler",  "Roth",
    "Beck",     "Lorenz",    "Baumann",  "Franke",    "Albrecht",   "Schuster", "Simon",    "Ludwig",
    "Böhm",     "Winter",    "Kraus",    "Martin",    "Schumacher", "Vogt",     "Stein",    "Jäger",
    "Otto",     "Sommer",    "Groß",     "Seidel",    "Heinrich",   "Brandt",   "Haas",     "Schreiber",
    "Graf",     "Schulte",   "Dietrich", "Ziegler",   "Kuhn",       "Kühn",     "Pohl",     "Engel",
    "Horn",     "Busch",     "Bergmann", "Thomas",    "Voigt",      "Sauer",    "Arnold",   "Wolff",
    "Pfeiffer", "Ebert",     "Hübner",   "Brinkmann", "Vollmer",    "Görtz",    "Straßner", "Lindemann",
};

const char* const kFirstNames[] = {
    "Andreas", "Birgit", "Christian", "Doris", "Elke",   "Frank",  "Gabriele", "Heike",  "Jürgen", "Karin",
    "Klaus",   "Monika", "Michael",   "Petra", "Ralf",   "Sabine", "Stefan",   "Thomas", "Ute",    "Wolfgang",
    "Jörg",    "Bärbel", "Sören",     "Anja",  "Markus", "Nicole", "Dirk",     "Silke",  "Uwe",    "Katrin",
};

struct Town {
    const char* postcode;
    const char* name;
};

const Town kTowns[] = {
    {"34117", "Kassel"},
    {"37073", "Göttingen"},
    {"36037", "Fulda"},
    {"35037", "Marburg"},
    {"35390", "Gießen"},
    {"34560", "Fritzlar"},
    {"34576", "Homberg (Efze)"},
    {"36251", "Bad Hersfeld"},
    {"37213", "Witzenhausen"},
    {"34346", "Hann. Münden"},
    {"33098", "Paderborn"},
    {"34414", "Warburg"},
    {"99084", "Erfurt"},
    {"99817", "Eisenach"},
    {"37327", "Leinefelde-Worbis"},
    {"34497", "Korbach"},
    {"35066", "Frankenberg (Eder)"},
    {"34613", "Schwalmstadt"},
    {"36304", "Alsfeld"},
    {"34212", "Melsungen"},
    {"34369", "Hofgeismar"},
    {"37269", "Eschwege"},
    {"36199", "Rotenburg an der Fulda"},
    {"34253", "Lohfelden"},
    {"34225", "Baunatal"},
    {"34127", "Kassel"},
    {"37085", "Göttingen"},
    {"60311", "Frankfurt am Main"},
    {"65183", "Wiesbaden"},
    {"30159", "Hannover"},
    {"38100", "Braunschweig"},
    {"98527", "Suhl"},
};

const char* const kStreets[] = {
    "Hauptstraße",      "Bahnhofstraße", "Industriestraße",        "Am Mühlgraben", "Gartenstraße",
    "Lindenweg",        "Kirchgasse",    "Schillerstraße",         "Goethestraße",  "Wilhelmshöher Allee",
    "Gewerbepark Nord", "Am Sportplatz", "Friedrich-Ebert-Straße", "Auf der Heide", "Rosenstraße",
    "Brückenstraße",    "Mittelweg",     "Zum Steinbruch",
};

struct TradePrefix {
    const char* keyword;
    const char* prefix;
};

const TradePrefix kPrefixes[] = {
    {"betonwerk", "Betonwerk"},
    {"rohbau", "Bauunternehmung"},
    {"maurer", "Bauunternehmung"},
    {"beton", "Betonbau"},
    {"erd", "Tiefbau"},
    {"tiefbau", "Tiefbau"},
    {"elektro", "Elektrotechnik"},
    {"dach", "Dachdeckerei"},
    {"zimmer", "Zimmerei"},
    {"holz", "Holzbau"},
    {"maler", "Malerbetrieb"},
    {"anstrich", "Malerbetrieb"},
    {"sanitär", "Haustechnik"},
    {"heiz", "Heizungsbau"},
    {"raumluft", "Klimatechnik"},
    {"gas-", "Sanitärtechnik"},
    {"vermessung", "Vermessungsbüro"},
    {"gutachten", "Sachverständigenbüro"},
    {"naturstein", "Natursteinwerk"},
    {"rollladen", "Rollladenbau"},
    {"blitz", "Blitzschutz"},
    {"dämm", "Isolierbau"},
    {"reinigung", "Gebäudereinigung"},
    {"lüftung", "Lüftungstechnik"},
    {"tischler", "Tischlerei"},
    {"schreiner", "Schreinerei"},
    {"fenster", "Fensterbau"},
    {"garten", "Garten- und Landschaftsbau"},
    {"landschaft", "Garten- und Landschaftsbau"},
    {"gerüst", "Gerüstbau"},
    {"fliesen", "Fliesenfachbetrieb"},
    {"estrich", "Estrichbau"},
    {"schlosser", "Metallbau"},
    {"metall", "Metallbau"},
    {"stahl", "Stahlbau"},
    {"trockenbau", "Trockenbau"},
    {"boden", "Bodenbeläge"},
    {"putz", "Stuckateurbetrieb"},
    {"stuck", "Stuckateurbetrieb"},
    {"architekt", "Architekturbüro"},
    {"planung", "Ingenieurbüro"},
    {"ingenieur", "Ingenieurbüro"},
    {"glas", "Glaserei"},
    {"klempner", "Bauklempnerei"},
    {"aufzug", "Aufzugstechnik"},
    {"abbruch", "Abbruchunternehmen"},
};

const TradePrefix kCostGroupNumbers[] = {
    {"abbruch", "210"},    {"erd", "310"},        {"mauer", "330"},      {"beton", "320"},
    {"zimmer", "360"},     {"dach", "360"},       {"klempner", "360"},   {"trocken", "340"},
    {"putz", "340"},       {"fliesen", "350"},    {"estrich", "350"},    {"tischler", "340"},
    {"metall", "330"},     {"maler", "340"},      {"boden", "350"},      {"heiz", "420"},
    {"raumluft", "430"},   {"gas", "410"},        {"elektro", "440"},    {"aufzug", "460"},
    {"gerüst", "390"},     {"landschaft", "570"}, {"architekt", "730"},  {"tragwerk", "740"},
    {"vermessung", "720"}, {"gutachten", "760"},  {"naturstein", "330"}, {"schlosser", "330"},
    {"glas", "330"},       {"rollladen", "330"},  {"blitz", "440"},      {"dämm", "330"},
    {"reinigung", "390"},
};

const char* const kLegalForms[] = {"GmbH", "GmbH & Co. KG", "e. K.", "KG", "GmbH", "Inh. ", "GbR", "GmbH"};

const char* const kSchools[] = {
    "Grundschule Am Lindenhof",
    "Gesamtschule Fuldatal",
    "Sporthalle Kirchberg",
    "Rathaus Altstadt",
    "Kindertagesstätte Sonnenschein",
    "Feuerwehrgerätehaus Nord",
    "Bauhof Süd",
    "Gymnasium am Schlossberg",
    "Kreisverwaltung Haus B",
    "Mehrzweckhalle Ostheim",
    "Jugendzentrum Am Bahnhof",
    "Berufsschule Technik",
    "Hallenbad Am Stadtpark",
    "Bürgerhaus Niederdorf",
    "Musikschule Alte Mühle",
    "Förderschule Am Wiesengrund",
};

const char* const kMeasures[] = {
    "Sanierung",
    "Neubau",
    "Erweiterung",
    "Dachsanierung",
    "Brandschutzertüchtigung",
    "Energetische Sanierung",
    "Umbau",
    "Barrierefreier Ausbau",
    "Fassadenerneuerung",
    "Erneuerung der Haustechnik",
};

template <typename T, std::size_t N> const T& pick(Random& random, const T (&items)[N]) {
    return items[random.below(static_cast<int>(N))];
}

} // namespace

QString GermanNames::costGroupNumber(const QString& trade) {
    const QString lowerTrade = trade.toLower();
    for (const auto& entry : kCostGroupNumbers) {
        if (lowerTrade.contains(QString::fromUtf8(entry.keyword)))
            return QString::fromLatin1(entry.prefix);
    }
    return QStringLiteral("300");
}

QString GermanNames::companyName(Random& random, const QString& trade) {
    QString prefix = QStringLiteral("Bauunternehmung");
    const QString lowerTrade = trade.toLower();
    for (const auto& entry : kPrefixes) {
        if (lowerTrade.contains(QString::fromUtf8(entry.keyword))) {
            prefix = QString::fromUtf8(entry.prefix);
            break;
        }
    }
    const QString surname = QString::fromUtf8(pick(random, kSurnames));
    const QString form = QString::fromUtf8(pick(random, kLegalForms));
    if (form == QLatin1String("Inh. "))
        return prefix + QLatin1Char(' ') + surname + QStringLiteral(", Inh. ") +
               QString::fromUtf8(pick(random, kFirstNames)) + QLatin1Char(' ') + surname;
    return prefix + QLatin1Char(' ') + surname + QLatin1Char(' ') + form;
}

QPair<QString, QString> GermanNames::postcodeAndTown(Random& random) {
    const Town& town = pick(random, kTowns);
    return {QString::fromLatin1(town.postcode), QString::fromUtf8(town.name)};
}

QString GermanNames::street(Random& random) {
    return QString::fromUtf8(pick(random, kStreets)) + QLatin1Char(' ') +
           QString::number(random.between(1, 140));
}

QString GermanNames::person(Random& random) {
    return QString::fromUtf8(pick(random, kFirstNames)) + QLatin1Char(' ') +
           QString::fromUtf8(pick(random, kSurnames));
}

QString GermanNames::phone(Random& random, const QString& postcode) {
    return QStringLiteral("0") + postcode.left(3) + QLatin1Char('/') +
           QString::number(random.between(10000, 999999));
}

QString GermanNames::email(const QString& companyName) {
    QString local = companyName.section(QLatin1Char(' '), 1, 1).toLower();
    local.replace(QStringLiteral("ä"), QStringLiteral("ae"))
        .replace(QStringLiteral("ö"), QStringLiteral("oe"))
        .replace(QStringLiteral("ü"), QStringLiteral("ue"))
        .replace(QStringLiteral("ß"), QStringLiteral("ss"))
        .remove(QLatin1Char(','));
    return QStringLiteral("info@") + local + QStringLiteral("-bau.de");
}

QString GermanNames::projectName(Random& random, int number) {
    const int schools = static_cast<int>(std::size(kSchools));
    QString name = QString::fromUtf8(kSchools[number % schools]) + QStringLiteral(" - ") +
                   QString::fromUtf8(pick(random, kMeasures));
    if (number >= schools)
        name += QStringLiteral(", Bauabschnitt ") + QString::number(number / schools + 1);
    return name;
}

QStringList GermanNames::paymentKinds() {
    QStringList kinds{QStringLiteral("Schlußzahlung"), QStringLiteral("Rückhalt")};
    for (int i = 1; i <= 30; ++i)
        kinds << QString::number(i) + QStringLiteral(". Abschlagszahlung");
    return kinds;
}

QStringList GermanNames::orderKinds() {
    QStringList kinds{QStringLiteral("Auftrag vom")};
    for (int i = 1; i <= 12; ++i)
        kinds << QString::number(i) + QStringLiteral(". Nachtr. Auftrag");
    return kinds;
}
