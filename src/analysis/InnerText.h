#pragma once

#include <QString>

#include <cstdint>

struct GumboInternalNode;

namespace veritam {

/// The text of a parsed element, after the innerText rules for content that is not
/// rendered, in one fixed way so that the same markup always gives the same text:
/// - white space (HTML's: space, tab, line feed, form feed, carriage return; not the
///   no-break space) collapses to one blank; next to a line or cell break it
///   disappears, while one at the very start or end of the element's text stays (so a
///   label "Výměra [m2]: " keeps its trailing blank);
/// - a block element (p, div, h1..h6, table, li, ...) and a table row begin and end a line;
///   <br> ends a line; several line ends in a row count as one;
/// - cells of one row are separated by one tab;
/// - script, style, template and noscript content gives no text; comments neither.
/// The text has no line end at its start or end. Reading stops once the text holds `limit`
/// bytes (of UTF-8): a label compared with known words needs no more than its start.
QString innerText(const GumboInternalNode* element, std::size_t limit = SIZE_MAX);

} // namespace veritam
