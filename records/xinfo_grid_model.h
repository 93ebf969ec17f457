#pragma once
#include "records/info_grid_model.h"
#include "readout/info_header.h"
#include "readout/record_store.h"

namespace lexorant {

class XInfoGridModel : public InfoGridModel {
    Q_OBJECT

public:
    explicit XInfoGridModel(QObject* parent = nullptr);

    // Cuts back to one empty entry column, sets the row count and writes the headings of the type.
    void Init(const InfoHeader& xInfo);

    // `slot`: the entry's 96 bytes, shown with the type of the last Init. The column count becomes
    // index + 2; an index outside 0 to 65534 does nothing.
    void ShowEntry(int index, const std::uint8_t* slot);

    // Init with the store's X-Info header, then every X-Info entry shown, in one model reset.
    void ShowAll(const RecordStore& store);
};

} // namespace lexorant
