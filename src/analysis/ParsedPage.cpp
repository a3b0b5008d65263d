#include "analysis/ParsedPage.h"

#include "analysis/InnerText.h"

#include <gumbo.h>

namespace veritam {

namespace {

const GumboNode* findElement(const GumboNode* node, GumboTag tag) {
    if (node->type != GUMBO_NODE_ELEMENT)
        return nullptr;
    if (node->v.element.tag == tag)
        return node;
    const GumboVector& children = node->v.element.children;
    for (unsigned i = 0; i < children.length; ++i)
        if (const GumboNode* found =
                findElement(static_cast<const GumboNode*>(children.data[i]), tag))
            return found;
    return nullptr;
}

void collectElements(const GumboNode* node, std::vector<ParsedPage::Element>& out) {
    const GumboVector& children = node->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(children.data[i]);
        if (child->type == GUMBO_NODE_ELEMENT || child->type == GUMBO_NODE_TEMPLATE) {
            out.push_back(child);
            collectElements(child, out);
        }
    }
}

} // namespace

void ParsedPage::Free::operator()(GumboInternalOutput* output) const {
    gumbo_destroy_output(&kGumboDefaultOptions, output);
}

ParsedPage::ParsedPage(const QString& markup)
    : m_utf8(markup.toUtf8())
    , m_output(gumbo_parse_with_options(&kGumboDefaultOptions, m_utf8.constData(),
                                        static_cast<size_t>(m_utf8.size()))) {
    if (const GumboNode* body = findElement(m_output->root, GUMBO_TAG_BODY))
        collectElements(body, m_elements);
}

ParsedPage::~ParsedPage() = default;

QString ParsedPage::title() const {
    const GumboNode* title = findElement(m_output->root, GUMBO_TAG_TITLE);
    if (!title)
        return {};
    QString text;
    const GumboVector& children = title->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(children.data[i]);
        if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE)
            text += QString::fromUtf8(child->v.text.text);
    }
    return text.simplified();
}

QString ParsedPage::attribute(Element e, const char* name) {
    const GumboAttribute* a = gumbo_get_attribute(&e->v.element.attributes, name);
    return a ? QString::fromUtf8(a->value) : QString();
}

bool ParsedPage::isLabelCell(Element e) {
    if (e->v.element.tag != GUMBO_TAG_TD)
        return false;
    const GumboAttribute* cls = gumbo_get_attribute(&e->v.element.attributes, "class");
    return cls && qstrcmp(cls->value, "nazev") == 0;
}

QString ParsedPage::labelText(Element e) {
    // The inner text has collapsed HTML white space into single blanks, and leaves a
    // no-break space as it is.
    QString text = innerText(e);
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.mid(start, end - start);
}

} // namespace veritam
