#pragma once

#include "part_family.h"
#include "seeded_random.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

namespace quillon {

// Invents a believable catalogue of Land Rover parts, the same for the same seed: a CSV file of
// the Parts columns and the pictures and picture pages that it names. Nothing in it comes from a
// real catalogue. The pictures are drawn (QPainter), so a QGuiApplication must exist.
//
// Picture files are a bounded pool: once it is full, further parts reuse pictures of their family,
// so that a catalogue of a million parts still writes only a few hundred files.
class DemoCatalogue final {
public:
    static constexpr int maxJpegFiles = 600;
    static constexpr int maxPageFiles = 100;

    using Progress = std::function<void(qint64 done, qint64 total)>;

    explicit DemoCatalogue(std::uint64_t seed);

    // Writes folder/parts.csv and folder/images/. Throws std::runtime_error when a file can't be
    // written.
    void write(const QString& folder, qint64 parts, const Progress& progress = {});

private:
    struct Picture {
        QString file;
        std::size_t family;
    };

    QStringList makePart(qint64 id);
    QString roverNumber();
    QString supplierNumber(std::size_t family);
    QStringList applications(std::uint8_t vehicles);
    QStringList pictures(std::size_t family, const QString& dorvaneNum, const QString& roverNum,
                         const QString& description, const QStringList& vehicles);
    QString jpeg(std::size_t family, const QString& base, int view, const QString& dorvaneNum,
                 const QString& roverNum, const QString& description);
    QString page(std::size_t family, const QString& dorvaneNum, const QString& roverNum,
                 const QString& description, const QStringList& vehicles,
                 const QString& ownPicture);
    QString reuse(const std::vector<Picture>& pool, std::size_t family);
    void set(QStringList& row, const QString& column, const QString& value) const;

    SeededRandom random_;
    QStringList columns_;
    mutable QHash<QString, qsizetype> columnIndex_;
    std::vector<int> familyWeights_;
    std::vector<qint64> familyCounters_;
    std::vector<Picture> jpegs_;
    std::vector<Picture> pages_;
    QString imagesFolder_;
};

} // namespace quillon
