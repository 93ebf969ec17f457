#pragma once
// The comparison of the shown read-out with an earlier one of its unit, once the user has asked for
// it: which entries are new. It follows the document: another opened file ends it, a read of the same
// unit goes on against the same earlier read-out and marks entries as they arrive, a read of another
// unit ends it.
#include "app/read_out_signals.h"
#include "compare/read_out_comparison.h"
#include "readout/read_out_data.h"

#include <QObject>
#include <QString>

#include <optional>

namespace lexorant {

class ShownComparison : public QObject {
    Q_OBJECT
public:
    explicit ShownComparison(ReadOutSignals& readOut, QObject* parent = nullptr);

    // Compares the shown read-out with `older` from now on.
    void Start(ReadOutData older);
    void End();

    bool Active() const { return comparison_.has_value(); }
    // Only while Active.
    const ReadOutComparison& Comparison() const { return *comparison_; }
    const ReadOutData& Older() const { return *older_; }
    bool IsNew(EntryRef entry) const { return comparison_ && comparison_->IsNew(entry); }
    // "Since 4711-0815_02.inf: 52 new G-Info, 15 new X-Info entries"; empty while not Active.
    QString SinceLine() const;

signals:
    // Started, ended, or entries classified.
    void changed();

private:
    void Follow();
    ReadOutSignals& readOut_;
    std::optional<ReadOutData> older_;
    std::optional<ReadOutComparison> comparison_;
};

} // namespace lexorant
