#include "report/service_report.h"

#include "file/info_file.h"
#include "file/replace_file.h"
#include "report/report_pdf.h"
#ifdef LEXORANT_WITH_CHART
#include "report/report_chart.h"
#endif

#include <QDateTime>

#include <filesystem>

namespace lexorant {

std::string WriteServiceReport(const RecordStore& store, const std::string& readOutName, const std::string& target,
                               const ReadOutFile* partial, const ReportSince* since) {
    const std::string madeAt = QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm")).toStdString();
    ReportContent content = BuildReportContent(store, readOutName, madeAt, partial);
    if (since)
        content.since = *since;
#ifdef LEXORANT_WITH_CHART
    const ReportChart chart = TemperatureReportChart(store, partial ? &partial->in : nullptr);
#else
    const ReportChart chart;
#endif
    const QByteArray pdf = ReportPdf(content, chart);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(pdf.constData());
    if (pdf.isEmpty() ||
        !WriteWholeFile(std::filesystem::path(target), {bytes, static_cast<std::size_t>(pdf.size())}))
        return WriteFailureText(target);
    return {};
}

} // namespace lexorant
