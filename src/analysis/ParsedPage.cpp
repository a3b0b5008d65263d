#include "analysis/ParsedPage.h"

#include "analysis/InnerText.h"

#include <gumbo.h>

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace veritam {

namespace {

/// Visits the elements under `root` (not itself), each before its descendants, until `visit`
/// returns false. A loop with a stack of its own: a page may nest as deep as it likes.
template <typename Visit> void eachElement(const GumboNode* root, Visit visit) {
    std::vector<std::pair<const GumboNode*, unsigned>> open{{root, 0}};
    while (!open.empty()) {
        const GumboVector& children = open.back().first->v.element.children;
        if (open.back().second == children.length) {
            open.pop_back();
            continue;
        }
        const auto* child = static_cast<const GumboNode*>(children.data[open.back().second++]);
        if (child->type == GUMBO_NODE_ELEMENT || child->type == GUMBO_NODE_TEMPLATE) {
            if (!visit(child))
                return;
            open.emplace_back(child, 0);
        }
    }
}

const GumboNode* findElement(const GumboNode* root, GumboTag tag) {
    if (root->type == GUMBO_NODE_ELEMENT && root->v.element.tag == tag)
        return root;
    const GumboNode* found = nullptr;
    eachElement(root, [&](const GumboNode* e) {
        if (e->type == GUMBO_NODE_ELEMENT && e->v.element.tag == tag)
            found = e;
        return !found;
    });
    return found;
}

} // namespace

/// The memory of one parsed tree, released as a whole. Gumbo frees a tree by recursion,
/// which a deeply nested page takes past the end of the stack.
class ParsedPage::Arena {
public:
    void* allocate(std::size_t size) {
        size = (size + kAlign - 1) / kAlign * kAlign;
        if (size > kBlock / 8) // a large buffer gets a block of its own
            return m_large.emplace_back(std::make_unique<Chunk[]>(size / kAlign)).get();
        if (m_used + size > kBlock) {
            m_blocks.push_back(std::make_unique<Chunk[]>(kBlock / kAlign));
            m_used = 0;
        }
        void* p = reinterpret_cast<char*>(m_blocks.back().get()) + m_used;
        m_used += size;
        return p;
    }
    static void* allocate(void* arena, std::size_t size) {
        return static_cast<Arena*>(arena)->allocate(size);
    }
    static void release(void*, void*) {} // all at once, with the arena

private:
    using Chunk = std::max_align_t;
    static constexpr std::size_t kAlign = alignof(Chunk);
    static constexpr std::size_t kBlock = std::size_t{1} << 20;
    std::vector<std::unique_ptr<Chunk[]>> m_blocks;
    std::vector<std::unique_ptr<Chunk[]>> m_large;
    std::size_t m_used = kBlock;
};

ParsedPage::ParsedPage(const QString& markup)
    : m_utf8(markup.toUtf8())
    , m_arena(std::make_unique<Arena>()) {
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = &Arena::allocate;
    options.deallocator = &Arena::release;
    options.userdata = m_arena.get();
    // Gumbo copies the stack of open elements into every parse error it records, which a
    // deeply nested page makes grow with the square of its depth; the errors are never read.
    options.max_errors = 0;
    m_output =
        gumbo_parse_with_options(&options, m_utf8.constData(), static_cast<size_t>(m_utf8.size()));
    if (const GumboNode* body = findElement(m_output->root, GUMBO_TAG_BODY))
        eachElement(body, [this](const GumboNode* e) {
            m_elements.push_back(e);
            return true;
        });
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
    // No label or heading the program knows is longer: the rest is not read.
    constexpr std::size_t kLongestLabel = 256;
    QString text = innerText(e, kLongestLabel);
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.mid(start, end - start);
}

} // namespace veritam
