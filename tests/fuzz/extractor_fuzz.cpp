// libFuzzer target for the section extractor: any bytes as a page's markup must give
// sections or an AnalysisError, never a crash or a leak.
#include "analysis/SectionExtractor.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString markup =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        veritam::ExtractSections(markup);
    } catch (const veritam::AnalysisError&) {
    }
    return 0;
}
