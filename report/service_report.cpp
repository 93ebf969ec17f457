#include "report/service_report.h"

#include "file/replace_file.h"
#include "file/write_failure.h"
#include "platform/dos_devices.h"
#include "report/report_pdf.h"
#ifdef LEXORANT_WITH_CHART
#include "report/report_chart.h"
#endif

#include <QDateTime>

#include <filesystem>

namespace lexorant {

std::string WriteServiceReport(const ReadOutData& readOut, const std::string& target, const ReportSince* since) {
    const std::string madeAt =
        QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm")).toStdString();
    ReportContent content = BuildReportContent(readOut, madeAt);
    if (since)
        content.since = *since;
#ifdef LEXORANT_WITH_CHART
    const ReportChart chart = TemperatureReportChart(readOut);
#else
    const ReportChart chart;
#endif
    const QByteArray pdf = ReportPdf(content, chart);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(pdf.constData());
    const auto path = ResolveWindowsPath(target);
    if (pdf.isEmpty() || !path || !WriteWholeFile(*path, {bytes, static_cast<std::size_t>(pdf.size())}))
        return WriteFailureText(target);
    return {};
}

} // namespace lexorant
