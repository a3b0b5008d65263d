#include "analysis/SectionExtractor.h"

#include "analysis/InnerText.h"

#include <gumbo.h>

#include <memory>
#include <vector>

namespace veritam {

namespace {

struct GumboDeleter {
    void operator()(GumboOutput* output) const {
        gumbo_destroy_output(&kGumboDefaultOptions, output);
    }
};

const GumboNode* findBody(const GumboNode* node) {
    if (node->type != GUMBO_NODE_ELEMENT)
        return nullptr;
    if (node->v.element.tag == GUMBO_TAG_BODY)
        return node;
    const GumboVector& children = node->v.element.children;
    for (unsigned i = 0; i < children.length; ++i)
        if (const GumboNode* body = findBody(static_cast<const GumboNode*>(children.data[i])))
            return body;
    return nullptr;
}

/// Every element under `node`, each before its descendants.
void collectElements(const GumboNode* node, std::vector<const GumboNode*>& out) {
    const GumboVector& children = node->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(children.data[i]);
        if (child->type == GUMBO_NODE_ELEMENT || child->type == GUMBO_NODE_TEMPLATE) {
            out.push_back(child);
            collectElements(child, out);
        }
    }
}

/// A TD whose class attribute is exactly "nazev".
bool isLabelCell(const GumboNode* node) {
    if (node->v.element.tag != GUMBO_TAG_TD)
        return false;
    const GumboAttribute* cls = gumbo_get_attribute(&node->v.element.attributes, "class");
    return cls && qstrcmp(cls->value, "nazev") == 0;
}

} // namespace

void ClearSections(TParseKatastr& sections) {
    sections = TParseKatastr();
}

void ExtractSections(const QString& markup, TParseKatastr& sections) {
    const QByteArray utf8 = markup.toUtf8();
    const std::unique_ptr<GumboOutput, GumboDeleter> document(gumbo_parse_with_options(
        &kGumboDefaultOptions, utf8.constData(), static_cast<size_t>(utf8.size())));
    const GumboNode* body = findBody(document->root);
    if (!body)
        return;
    std::vector<const GumboNode*> elements;
    collectElements(body, elements);

    const auto take = [&](std::size_t i, std::size_t offset, const QString& what) {
        if (i + offset >= elements.size())
            throw AnalysisError(QStringLiteral("Na stránce chybí údaj za „%1“.").arg(what));
        return innerText(elements[i + offset]);
    };
    static const QString area = QStringLiteral("Výměra [m2]:");
    static const QString share = QStringLiteral("Podíl na");
    static const QString owners = QStringLiteral("Vlastníci, jiní oprávnění");
    static const QString protection = QStringLiteral("Způsob ochrany nemovitosti");
    static const QString restrictions = QStringLiteral("Omezení vlastnického práva");
    static const QString other = QStringLiteral("Jiné zápisy");

    for (std::size_t i = 0; i < elements.size(); ++i) {
        const GumboNode* e = elements[i];
        if (isLabelCell(e)) {
            const QString text = innerText(e);
            if (text == area)
                sections.vymera = take(i, 2, text);
            if (text.left(8) == share)
                sections.podil = take(i, 2, text);
        } else if (e->v.element.tag == GUMBO_TAG_H2) {
            const QString text = innerText(e);
            if (text == owners)
                sections.vlastnici = take(i, 1, text);
            else if (text == protection)
                sections.ochrana = take(i, 1, text);
            else if (text == restrictions)
                sections.omezeni = take(i, 1, text);
            else if (text == other)
                sections.jine = take(i, 1, text);
        }
    }
}

} // namespace veritam
