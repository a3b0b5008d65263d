#pragma once

#include <QString>

#include <memory>
#include <vector>

struct GumboInternalNode;
struct GumboInternalOutput;

namespace veritam {

/// A page's markup parsed into a separate tree that is never displayed, with the element
/// sequence the page analysis walks: every element under the body, each before its
/// descendants.
class ParsedPage {
public:
    using Element = const GumboInternalNode*;

    explicit ParsedPage(const QString& markup);
    ~ParsedPage();
    ParsedPage(const ParsedPage&) = delete;
    ParsedPage& operator=(const ParsedPage&) = delete;

    /// Empty when the page has no body.
    const std::vector<Element>& elements() const { return m_elements; }
    /// The page's title, or empty.
    QString title() const;

    static QString attribute(Element e, const char* name);
    /// A TD whose class attribute is exactly "nazev".
    static bool isLabelCell(Element e);
    /// The text of a label cell or heading as a reader sees it: white space that a browser
    /// collapses does not count at its start and end; a no-break space does.
    static QString labelText(Element e);

private:
    class Arena;
    QByteArray m_utf8;              // the tree points into it
    std::unique_ptr<Arena> m_arena; // holds the tree
    GumboInternalOutput* m_output = nullptr;
    std::vector<Element> m_elements;
};

} // namespace veritam
