#include "analysis/InnerText.h"

#include <gumbo.h>

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
/// pieces of text, the strongest one requested since the last text winning.
class TextBuilder {
public:
    enum class Break { None, Space, Tab, Line };

    /// White space is HTML's: space, tab, line feed, form feed, carriage return. The text is
    /// kept as UTF-8 bytes until the end.
    void text(const char* utf8) {
        for (const char* p = utf8; *p; ++p) {
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
};

void walk(const GumboNode* node, TextBuilder& out) {
    switch (node->type) {
    case GUMBO_NODE_TEXT:
    case GUMBO_NODE_WHITESPACE:
    case GUMBO_NODE_CDATA:
        out.text(node->v.text.text);
        return;
    case GUMBO_NODE_ELEMENT:
    case GUMBO_NODE_TEMPLATE:
        break;
    default:
        return;
    }
    const GumboElement& element = node->v.element;
    if (givesNoText(element.tag))
        return;
    if (element.tag == GUMBO_TAG_BR) {
        out.request(TextBuilder::Break::Line);
        return;
    }
    const bool block = isBlock(element.tag);
    const bool cell = element.tag == GUMBO_TAG_TD || element.tag == GUMBO_TAG_TH;
    if (block)
        out.request(TextBuilder::Break::Line);
    else if (cell)
        out.request(TextBuilder::Break::Tab);
    for (unsigned i = 0; i < element.children.length; ++i)
        walk(static_cast<const GumboNode*>(element.children.data[i]), out);
    if (block)
        out.request(TextBuilder::Break::Line);
    else if (cell)
        out.request(TextBuilder::Break::Tab);
}

} // namespace

QString innerText(const GumboInternalNode* element) {
    TextBuilder out;
    if (element->type == GUMBO_NODE_ELEMENT) {
        const GumboElement& e = element->v.element;
        if (givesNoText(e.tag))
            return {};
        // The element's own boundary adds nothing at the text's ends.
        for (unsigned i = 0; i < e.children.length; ++i)
            walk(static_cast<const GumboNode*>(e.children.data[i]), out);
    } else {
        walk(element, out);
    }
    return out.result();
}

} // namespace veritam
