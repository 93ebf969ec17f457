#include "app/shown_comparison.h"

#include "compare/comparison_text.h"

namespace lexorant {

ShownComparison::ShownComparison(ReadOutSignals& readOut, QObject* parent)
    : QObject(parent), readOut_(readOut) {
    Follow();
}

void ShownComparison::Start(ReadOutData older) {
    comparison_.emplace(Compare(older, readOut_.Document().Data()));
    older_ = std::move(older);
    emit changed();
}

void ShownComparison::End() {
    if (!Active())
        return;
    comparison_.reset();
    older_.reset();
    emit changed();
}

QString ShownComparison::SinceLine() const {
    if (!Active())
        return {};
    return QString::fromStdString(ComparisonSinceLine(*comparison_, older_->name));
}

void ShownComparison::Follow() {
    connect(&readOut_, &ReadOutSignals::replaced, this, [this] {
        if (!Active())
            return;
        const ReadOut& readOut = readOut_.Document();
        const bool sameUnitRead = readOut.State() == ReadOutState::Reading && !older_->serial.empty() &&
                                  readOut.Serial() == older_->serial;
        if (!sameUnitRead) {
            End();
            return;
        }
        comparison_.emplace(*older_, readOut.Store().GInfo, readOut.Store().XInfo);
        emit changed();
    });
    connect(&readOut_, &ReadOutSignals::entriesArrived, this,
            [this](InfoBlock block, qsizetype first, qsizetype count) {
                if (!Active())
                    return;
                const ReadOut& readOut = readOut_.Document();
                for (qsizetype i = first; i < first + count; ++i) {
                    const EntryRef entry{block, static_cast<std::uint16_t>(i)};
                    if (readOut.Arrived(entry))
                        comparison_->Classify(readOut.Store(), entry);
                }
                emit changed();
            });
}

} // namespace lexorant
