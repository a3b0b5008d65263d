#include "analysis/InnerText.h"

#include <gumbo.h>

#include <utility>
#include <vector>

namespace veritam {

namespace {

bool isBlock(GumboTag tag) {
    switch (tag) {
    case GUMBO_TAG_ADDRESS:
    case GUMBO_TAG_ARTICLE:
    case GUMBO_TAG_ASIDE:
    case GUMBO_TAG_BLOCKQUOTE:
    case GUMBO_TAG_CAPTION:
    case GUMBO_TAG_CENTER:
    case GUMBO_TAG_DD:
    case GUMBO_TAG_DIV:
    case GUMBO_TAG_DL:
    case GUMBO_TAG_DT:
    case GUMBO_TAG_FIELDSET:
    case GUMBO_TAG_FIGCAPTION:
    case GUMBO_TAG_FIGURE:
    case GUMBO_TAG_FOOTER:
    case GUMBO_TAG_FORM:
    case GUMBO_TAG_H1:
    case GUMBO_TAG_H2:
    case GUMBO_TAG_H3:
    case GUMBO_TAG_H4:
    case GUMBO_TAG_H5:
    case GUMBO_TAG_H6:
    case GUMBO_TAG_HEADER:
    case GUMBO_TAG_HR:
    case GUMBO_TAG_LEGEND:
    case GUMBO_TAG_LI:
    case GUMBO_TAG_MAIN:
    case GUMBO_TAG_NAV:
    case GUMBO_TAG_OL:
    case GUMBO_TAG_P:
    case GUMBO_TAG_PRE:
    case GUMBO_TAG_SECTION:
    case GUMBO_TAG_TABLE:
    case GUMBO_TAG_TBODY:
    case GUMBO_TAG_THEAD:
    case GUMBO_TAG_TFOOT:
    case GUMBO_TAG_TR:
    case GUMBO_TAG_UL:
    case GUMBO_TAG_BODY:
    case GUMBO_TAG_HTML:
        return true;
    default:
        return false;
    }
}

bool givesNoText(GumboTag tag) {
    return tag == GUMBO_TAG_SCRIPT || tag == GUMBO_TAG_STYLE || tag == GUMBO_TAG_TEMPLATE ||
           tag == GUMBO_TAG_NOSCRIPT || tag == GUMBO_TAG_HEAD || tag == GUMBO_TAG_TITLE;
}

/// Collects text with pending separators: a separator is written only between two
/// pieces of text, the strongest one requested since the last text winning. Stops taking
/// text once it holds `limit` bytes.
class TextBuilder {
public:
    enum class Break { None, Space, Tab, Line };

    explicit TextBuilder(std::size_t limit)
        : m_limit(limit) {}

    /// White space is HTML's: space, tab, line feed, form feed, carriage return. The text is
    /// kept as UTF-8 bytes until the end.
    void text(const char* utf8) {
        for (const char* p = utf8; *p && !full(); ++p) {
            const char c = *p;
            if (c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r') {
                request(Break::Space);
            } else {
                flush();
                m_out.append(c);
            }
        }
    }
    void request(Break b) {
        if (static_cast<int>(b) > static_cast<int>(m_pending))
            m_pending = b;
    }
    bool full() const { return static_cast<std::size_t>(m_out.size()) >= m_limit; }
    /// A blank at the very end stays; a line or cell break there does not.
    QString result() const {
        return QString::fromUtf8(m_pending == Break::Space ? m_out + ' ' : m_out);
    }

private:
    void flush() {
        if (m_pending == Break::None)
            return;
        if (m_out.isEmpty()) {
            if (m_pending == Break::Space)
                m_out.append(' '); // a blank at the very start stays too
        } else {
            m_out.append(m_pending == Break::Space ? ' ' : m_pending == Break::Tab ? '\t' : '\n');
        }
        m_pending = Break::None;
    }

    QByteArray m_out;
    Break m_pending = Break::None;
    std::size_t m_limit;
};

bool isCell(GumboTag tag) {
    return tag == GUMBO_TAG_TD || tag == GUMBO_TAG_TH;
}

/// What an element's start or end adds: a line for a block, a tab for a cell.
void boundary(const GumboElement& element, TextBuilder& out) {
    if (isBlock(element.tag))
        out.request(TextBuilder::Break::Line);
    else if (isCell(element.tag))
        out.request(TextBuilder::Break::Tab);
}

/// The text of the element's descendants, without its own boundary. A loop with a stack of
/// its own, not a recursion: a page may nest elements as deep as it likes.
/// `budget` bounds the nodes visited: a label read only as far as its start has no more.
void walkChildren(const GumboNode* element, TextBuilder& out, std::size_t budget) {
    std::vector<std::pair<const GumboNode*, unsigned>> open{{element, 0}};
    while (!open.empty() && !out.full() && budget-- > 0) {
        const GumboNode* node = open.back().first;
        const GumboVector& children = node->v.element.children;
        if (open.back().second == children.length) {
            if (open.size() > 1)
                boundary(node->v.element, out);
            open.pop_back();
            continue;
        }
        const auto* child = static_cast<const GumboNode*>(children.data[open.back().second++]);
        switch (child->type) {
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_WHITESPACE:
        case GUMBO_NODE_CDATA:
            out.text(child->v.text.text);
            break;
        case GUMBO_NODE_ELEMENT:
        case GUMBO_NODE_TEMPLATE:
            if (givesNoText(child->v.element.tag))
                break;
            if (child->v.element.tag == GUMBO_TAG_BR) {
                out.request(TextBuilder::Break::Line);
                break;
            }
            boundary(child->v.element, out);
            open.emplace_back(child, 0);
            break;
        default:
            break;
        }
    }
}

} // namespace

QString innerText(const GumboInternalNode* element, std::size_t limit) {
    TextBuilder out(limit);
    if (element->type == GUMBO_NODE_ELEMENT || element->type == GUMBO_NODE_TEMPLATE) {
        if (givesNoText(element->v.element.tag))
            return {};
        // The element's own boundary adds nothing at the text's ends.
        walkChildren(element, out, limit);
    } else if (element->type != GUMBO_NODE_COMMENT && element->type != GUMBO_NODE_DOCUMENT) {
        out.text(element->v.text.text);
    }
    return out.result();
}

} // namespace veritam
