#pragma once
#include "records/info_grid_model.h"
#include "readout/info_header.h"
#include "readout/record_store.h"

namespace lexorant {

class GInfoGridModel : public InfoGridModel {
    Q_OBJECT

public:
    explicit GInfoGridModel(QObject* parent = nullptr);

    // Cuts back to one empty entry column and writes the 17 headings. The row count becomes 17 for
    // G-Info type 0 and stays as it was for any other type.
    void Init(const InfoHeader& gInfo);

    // `slot`: the entry's 16 bytes. The column count becomes index + 2; an index outside 0 to
    // 65534 does nothing.
    void ShowEntry(int index, const std::uint8_t* slot);

    // Init with the store's G-Info header, then every G-Info entry shown, in one model reset.
    void ShowAll(const RecordStore& store);
};

} // namespace lexorant
