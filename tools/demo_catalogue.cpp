#include "demo_catalogue.h"

#include "csv_writer.h"
#include "picture_painter.h"
#include "store/schema.h"
#include "store/shown_path.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <array>
#include <stdexcept>

namespace quillon {

namespace {

constexpr std::array<const char*, 21> roverPrefixes = {
    "ERR", "ESR", "ETC", "ERC", "STC", "NRC", "NTC", "FTC", "RTC", "ANR", "ALR",
    "AMR", "BTR", "FRC", "PRC", "MUC", "LVB", "MXC", "RRC", "AEU", "WAM"};

constexpr std::array<const char*, 11> brands = {
    "BRACKENFORD", "TARNSIDE",    "VELMORA",    "HOLLINPRYCE", "CORVEX",        "STANNOR",
    "KELBROOK",    "MARROWFIELD", "ASHWICK OE", "WENLOCK",     "DORVANE SELECT"};

constexpr std::array<const char*, 10> fittingNotes = {
    "Renew seals, gaskets and locking washers whenever this part is disturbed.",
    "Tighten fixings to the torque given in the workshop manual for your model.",
    "Fit in axle sets: renew both sides together for even wear.",
    "Run the engine and check for leaks before road use.",
    "Clean the mating faces thoroughly; do not use sealant unless stated.",
    "Check the vehicle's chassis or VIN number against the application list before ordering.",
    "Bleed the system after fitting, following the manual's sequence.",
    "Apply copper grease to threads where the part meets the chassis.",
    "Supplied without fixings unless the description says \"kit\".",
    "Bed in new friction parts gently for the first 200 miles.",
};

const int superCountWeights[] = {45, 25, 14, 8, 5, 3};
const int roverShapeWeights[] = {52, 20, 3, 13, 12};

QString digits(SeededRandom& random, int count) {
    QString text;
    text.reserve(count);
    for (int i = 0; i < count; ++i)
        text += QChar(u'0' + static_cast<char16_t>(random.below(10)));
    return text;
}

QString pounds(qint64 pence) {
    return QStringLiteral("%1.%2").arg(pence / 100).arg(pence % 100, 2, 10, QLatin1Char('0'));
}

QString weightText(int grams) {
    if (grams < 1000)
        return QStringLiteral("%1g").arg(grams);
    return QStringLiteral("%1.%2kg")
        .arg(grams / 1000)
        .arg((grams % 1000) / 10, 2, 10, QLatin1Char('0'));
}

// The place of a name in a list, in any letter case; -1 when it is not there.
qsizetype indexOfName(const QStringList& names, QStringView name) {
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace

DemoCatalogue::DemoCatalogue(std::uint64_t seed) : random_(seed), columns_(Schema::partsColumns()) {
    for (const PartFamily& family : PartFamily::all())
        familyWeights_.push_back(family.weight);
    familyCounters_.assign(PartFamily::all().size(), 0);
}

void DemoCatalogue::set(QStringList& row, const QString& column, const QString& value) const {
    // Columns are found once, in any letter case; one the table lacks is left out.
    auto found = columnIndex_.constFind(column);
    if (found == columnIndex_.cend())
        found = columnIndex_.insert(column, indexOfName(columns_, column));
    if (*found >= 0)
        row[*found] = value;
}

QString DemoCatalogue::roverNumber() {
    const auto prefix = [this] {
        return QLatin1String(random_.pick(std::span<const char* const>(roverPrefixes)));
    };
    switch (random_.weighted(roverShapeWeights)) {
    case 0: // three letters and four digits: ERR1234
        return prefix() + digits(random_, 4);
    case 1: // LR and six digits: LR012345
        return QStringLiteral("LR0") + digits(random_, 5);
    case 2: // the older printed form with a blank: NRC 1234
        return prefix() + u' ' + digits(random_, 4);
    case 3: // short numeric: 576123
        return QString::number(random_.between(500000, 619999));
    default: // three letters with three or five digits: RTC123, ETC12345
        return prefix() + digits(random_, random_.perMille(500) ? 3 : 5);
    }
}

QString DemoCatalogue::supplierNumber(std::size_t family) {
    familyCounters_[family] += random_.between(1, 3);
    return QLatin1String(PartFamily::all()[family].code) +
           QString::number(1000 + familyCounters_[family]);
}

QStringList DemoCatalogue::applications(std::uint8_t vehicles) {
    // Now and then a part fits one vehicle more than its fitment says.
    if (random_.perMille(150))
        vehicles |= static_cast<std::uint8_t>(1u << random_.below(8));
    QStringList names;
    for (int bit = 0; bit < 8; ++bit) {
        if (vehicles & (1u << bit))
            names << PartFitment::vehicleNames()[bit];
    }
    // Trade lists sometimes name a vehicle twice (for its short and long wheelbase).
    if (names.size() == 8 && random_.perMille(60))
        names << PartFitment::vehicleNames()[1];
    return names;
}

QString DemoCatalogue::reuse(const std::vector<Picture>& pool, std::size_t family) {
    std::vector<std::size_t> same;
    for (std::size_t i = 0; i < pool.size(); ++i) {
        if (pool[i].family == family)
            same.push_back(i);
    }
    if (same.empty())
        return pool[random_.below(pool.size())].file;
    return pool[same[random_.below(same.size())]].file;
}

QString DemoCatalogue::jpeg(std::size_t family, const QString& base, int view,
                            const QString& dorvaneNum, const QString& roverNum,
                            const QString& description) {
    const unsigned hue = static_cast<unsigned>(random_.below(360));
    if (static_cast<int>(jpegs_.size()) >= maxJpegFiles)
        return reuse(jpegs_, family);
    const QString file =
        view > 1 ? QStringLiteral("%1-%2.jpg").arg(base).arg(view) : base + QStringLiteral(".jpg");
    PicturePainter::Subject subject{
        PartFamily::all()[family].drawing, dorvaneNum, roverNum, description, view, hue};
    const QImage image = PicturePainter::paint(subject);
    if (!image.save(imagesFolder_ + u'/' + file, "JPG", 85))
        throw std::runtime_error("cannot write the picture " +
                                 shownPath(imagesFolder_ + u'/' + file).toStdString());
    jpegs_.push_back({file, family});
    return file;
}

QString DemoCatalogue::page(std::size_t family, const QString& dorvaneNum, const QString& roverNum,
                            const QString& description, const QStringList& vehicles,
                            const QString& ownPicture) {
    const bool longEnding = random_.perMille(500);
    const std::size_t firstNote = random_.below(fittingNotes.size());
    const std::size_t secondNote =
        (firstNote + 1 + random_.below(fittingNotes.size() - 1)) % fittingNotes.size();
    if (static_cast<int>(pages_.size()) >= maxPageFiles)
        return reuse(pages_, family);
    // The page shows the part's own picture when it has one, else a drawing of its own.
    const QString image = ownPicture.isEmpty() ? jpeg(family, dorvaneNum + QStringLiteral("-fit"),
                                                      1, dorvaneNum, roverNum, description)
                                               : ownPicture;
    const QString file =
        dorvaneNum + (longEnding ? QStringLiteral("-fitting.html") : QStringLiteral(".htm"));
    const QString title = QString(dorvaneNum + QStringLiteral(" - ") + description).toHtmlEscaped();
    QString html;
    html += QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n");
    html += QStringLiteral("<title>%1</title>\n").arg(title);
    html += QStringLiteral("<style>body{font-family:Arial,Helvetica,sans-serif;margin:24px}"
                           "h1{color:#16422c;font-size:20px}td{padding:2px 12px 2px 0}</style>\n");
    html += QStringLiteral("</head>\n<body>\n<h1>Dorvane PLC - Fitting Guide</h1>\n");
    html += QStringLiteral("<h2>%1</h2>\n").arg(description.toHtmlEscaped());
    html += QStringLiteral("<table>\n<tr><td>DV No.</td><td><b>%1</b></td></tr>\n")
                .arg(dorvaneNum.toHtmlEscaped());
    html += QStringLiteral("<tr><td>Rover No.</td><td><b>%1</b></td></tr>\n")
                .arg(roverNum.toHtmlEscaped());
    html += QStringLiteral("<tr><td>Fits</td><td>%1</td></tr>\n</table>\n")
                .arg(vehicles.join(QStringLiteral(", ")).toHtmlEscaped());
    html += QStringLiteral("<p><img src=\"%1\" width=\"%2\" height=\"%3\" alt=\"%4\"></p>\n")
                .arg(image.toHtmlEscaped())
                .arg(PicturePainter::width)
                .arg(PicturePainter::height)
                .arg(title);
    html += QStringLiteral("<h3>Fitting notes</h3>\n<ul>\n<li>%1</li>\n<li>%2</li>\n</ul>\n")
                .arg(QString::fromLatin1(fittingNotes[firstNote]).toHtmlEscaped(),
                     QString::fromLatin1(fittingNotes[secondNote]).toHtmlEscaped());
    html += QStringLiteral("</body>\n</html>\n");
    QFile out(imagesFolder_ + u'/' + file);
    const QByteArray bytes = html.toUtf8();
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write the picture page " +
                                 shownPath(out.fileName()).toStdString());
    pages_.push_back({file, family});
    return file;
}

QStringList DemoCatalogue::pictures(std::size_t family, const QString& dorvaneNum,
                                    const QString& roverNum, const QString& description,
                                    const QStringList& vehicles) {
    QStringList files;
    const int kind = static_cast<int>(random_.below(100));
    if (kind < 78) { // one picture
        files << jpeg(family, dorvaneNum, 1, dorvaneNum, roverNum, description);
    } else if (kind < 90) { // one picture page
        files << page(family, dorvaneNum, roverNum, description, vehicles, {});
    } else { // several views, now and then with a fitting page as well
        const int views = static_cast<int>(random_.between(2, 4));
        for (int view = 1; view <= views; ++view)
            files << jpeg(family, dorvaneNum, view, dorvaneNum, roverNum, description);
        if (random_.perMille(400))
            files << page(family, dorvaneNum, roverNum, description, vehicles, files.front());
    }
    return files;
}

QStringList DemoCatalogue::makePart(qint64 id) {
    const auto& families = PartFamily::all();
    const std::size_t familyIndex = random_.weighted(familyWeights_);
    const PartFamily& family = families[familyIndex];
    const QString name = QLatin1String(random_.pick(std::span<const char* const>(family.names)));
    const auto fitments = PartFitment::all(family.fits);
    const PartFitment& fitment = fitments[random_.below(fitments.size())];

    QString description = name;
    if (fitment.label[0] != '\0')
        description += QStringLiteral(" - ") + QLatin1String(fitment.label);
    if (family.sided && random_.perMille(700))
        description += random_.perMille(500) ? QStringLiteral(" - LH") : QStringLiteral(" - RH");

    const QString dorvaneNum = supplierNumber(familyIndex);
    QString altNum;
    const int altKind = static_cast<int>(random_.below(100));
    if (altKind < 25)
        altNum = dorvaneNum + u'A';
    else if (altKind < 35)
        altNum = dorvaneNum + QStringLiteral("HD");
    else if (altKind < 50)
        altNum = u'X' + digits(random_, 5);

    const bool dorvaneOnly = random_.perMille(50);
    const QString roverNum = dorvaneOnly ? QStringLiteral("Dorvane Only") : roverNumber();
    QStringList supers;
    if (!dorvaneOnly && random_.perMille(300)) {
        const std::size_t count = random_.weighted(superCountWeights) + 1;
        for (std::size_t k = 0; k < count; ++k)
            supers << roverNumber();
    }

    // Prices in pounds and pence; a few parts carry no price yet.
    const qint64 pence =
        random_.perMille(10) ? 0 : random_.between(family.pence.low, family.pence.high);
    QString lrPrice;
    qint64 lrPence = 0;
    if (!dorvaneOnly) {
        lrPence = random_.perMille(20) ? 0 : pence * random_.between(115, 195) / 100;
        lrPrice = pounds(lrPence);
    }
    QString customerLrPrice = QStringLiteral("0");
    const int customerLrKind = static_cast<int>(random_.below(100));
    if (customerLrKind < 5)
        customerLrPrice.clear();
    else if (customerLrKind >= 60 && lrPence > pence)
        customerLrPrice = pounds(random_.between(pence, lrPence));

    QString discountCode;
    if (!dorvaneOnly || random_.perMille(300)) {
        const int codeKind = static_cast<int>(random_.below(100));
        if (codeKind < 22)
            discountCode = QStringLiteral("0");
        else if (codeKind < 25) // a few older codes are letters
            discountCode = QChar(u'A' + static_cast<char16_t>(random_.below(5)));
        else
            discountCode = QString::number(random_.between(1, 9));
    }

    QString unitSale = QLatin1String(family.unitSale);
    if (random_.perMille(30))
        unitSale.clear();
    QString unitIssue = QLatin1String(family.unitIssues.front());
    if (family.unitIssues.size() > 1 && random_.perMille(200))
        unitIssue = QLatin1String(family.unitIssues[random_.below(family.unitIssues.size())]);
    if (random_.perMille(20))
        unitIssue.clear();
    QString weight =
        weightText(static_cast<int>(random_.between(family.grams.low, family.grams.high)));
    if (random_.perMille(40))
        weight.clear();
    QString brand;
    if (dorvaneOnly)
        brand = QStringLiteral("DORVANE");
    else if (!random_.perMille(80))
        brand = QLatin1String(random_.pick(std::span<const char* const>(brands)));

    const QStringList vehicles = applications(fitment.vehicles);
    QStringList pictureFiles;
    if (random_.perMille(150))
        pictureFiles = pictures(familyIndex, dorvaneNum, roverNum, description, vehicles);

    QStringList row(columns_.size());
    set(row, QStringLiteral("ID"), QString::number(id));
    set(row, QStringLiteral("DorvaneNum"), dorvaneNum);
    set(row, QStringLiteral("AltDorvaneNum"), altNum);
    set(row, QStringLiteral("RoverNum"), roverNum);
    for (qsizetype k = 0; k < supers.size(); ++k)
        set(row, QStringLiteral("RoverSuper%1").arg(k + 1), supers[k]);
    set(row, QStringLiteral("Description"), description);
    set(row, QStringLiteral("CustomerPrice"), pounds(pence));
    set(row, QStringLiteral("LRPrice"), lrPrice);
    set(row, QStringLiteral("CustomerLRPrice"), customerLrPrice);
    set(row, QStringLiteral("LRDiscountCode"), discountCode);
    set(row, QStringLiteral("UnitSale"), unitSale);
    set(row, QStringLiteral("UnitIssue"), unitIssue);
    set(row, QStringLiteral("Weight"), weight);
    set(row, QStringLiteral("ProductGroup"), QLatin1String(family.productGroup));
    set(row, QStringLiteral("Brand"), brand);
    for (qsizetype k = 0; k < vehicles.size(); ++k)
        set(row, QStringLiteral("Application%1").arg(k + 1), vehicles[k]);
    for (qsizetype k = 0; k < pictureFiles.size(); ++k)
        set(row, QStringLiteral("Picture%1").arg(k + 1), pictureFiles[k]);
    return row;
}

void DemoCatalogue::write(const QString& folder, qint64 parts, const Progress& progress) {
    imagesFolder_ = QDir(folder).absoluteFilePath(QStringLiteral("images"));
    if (!QDir().mkpath(imagesFolder_))
        throw std::runtime_error("cannot create the folder " +
                                 shownPath(imagesFolder_).toStdString());
    QSaveFile csv(QDir(folder).absoluteFilePath(QStringLiteral("parts.csv")));
    if (!csv.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write " + shownPath(csv.fileName()).toStdString() + ": " +
                                 csv.errorString().toStdString());
    CsvWriter writer(csv);
    writer.writeRecord(columns_);
    for (qint64 id = 1; id <= parts; ++id) {
        writer.writeRecord(makePart(id));
        if (progress)
            progress(id, parts);
    }
    if (!csv.commit())
        throw std::runtime_error("cannot write " + shownPath(csv.fileName()).toStdString() + ": " +
                                 csv.errorString().toStdString());
}

} // namespace quillon
