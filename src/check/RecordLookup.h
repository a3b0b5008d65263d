#pragma once

namespace veritam {

class Dataset;
class PortalBrowser;
enum class RecordKind;

/// Runs the kind's search driver with the columns of the current row of `row`.
void searchRecord(RecordKind kind, const Dataset& row, PortalBrowser& browser);

} // namespace veritam
