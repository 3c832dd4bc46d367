#include "imageio/SvgStructure.h"

#include <QHash>
#include <QXmlStreamReader>

#include <algorithm>
#include <vector>

namespace {

// Far beyond what drawing programs write (a few dozen levels), far below what exhausts the
// library's stack. A reference counts one level of the chain; the drawing's depth adds the
// nesting walked through on the way to each reference.
constexpr int kDeepestNesting = 128;
constexpr int kLongestChain = 64;
constexpr int kDeepestDrawing = 512;

// The elements with an id are the graph's nodes (node 0 is the document, and each selector
// key of a style sheet is one more). An element's references leave from its nearest
// ancestor-or-self with an id: whatever refers to that one draws them too.
struct Link {
    int from;
    int to;
    int depth;      // the nesting levels walked from `from`, the reference itself counting one
    bool reference; // else `to` lies inside `from`
};

struct PendingReference {
    int from;
    int depth;
    QString id;
};

// Calls `found` with the id of every "url(#id)" in an attribute's value (a presentation
// attribute such as fill, filter, mask or marker-start, or a style attribute).
template <typename Found> void ForEachUrlReference(QStringView value, Found found) {
    for (qsizetype at = value.indexOf(u"url("); at >= 0; at = value.indexOf(u"url(", at)) {
        at += 4;
        while (at < value.size() &&
               (value[at].isSpace() || value[at] == u'"' || value[at] == u'\''))
            ++at;
        if (at >= value.size() || value[at] != u'#')
            continue;
        const qsizetype start = ++at;
        while (at < value.size() && value[at] != u')' && value[at] != u'"' && value[at] != u'\'' &&
               !value[at].isSpace())
            ++at;
        if (at > start)
            found(value.mid(start, at - start).toString());
    }
}

// An element as a style sheet's selectors see it, and where its references would leave from.
struct StyledElement {
    int from;
    int depth;
    QString name;
    QString classes;
    QString id;
};

// The one name in a selector's last compound that an element must have for the rule to
// apply: "#id", ".class", the element's name, or "*". The other parts of the compound and the
// ancestors are ignored, so a rule is taken to reach every element it could apply to.
QString SelectorKey(QStringView selector) {
    selector = selector.trimmed();
    qsizetype start = selector.size();
    while (start > 0 && !selector[start - 1].isSpace() && selector[start - 1] != u'>' &&
           selector[start - 1] != u'+' && selector[start - 1] != u'~')
        --start;
    const QStringView compound = selector.mid(start);
    const auto part = [&](QChar marker) {
        const qsizetype at = compound.indexOf(marker);
        if (at < 0)
            return QString();
        qsizetype end = at + 1;
        while (end < compound.size() &&
               (compound[end].isLetterOrNumber() || compound[end] == u'-' || compound[end] == u'_'))
            ++end;
        return compound.mid(at, end - at).toString();
    };
    if (const QString id = part(u'#'); id.size() > 1)
        return id;
    if (const QString name = part(u'.'); name.size() > 1)
        return name;
    qsizetype end = 0;
    while (end < compound.size() && (compound[end].isLetterOrNumber() || compound[end] == u'-'))
        ++end;
    return end > 0 ? compound.left(end).toString() : QStringLiteral("*");
}

// The ids each selector key's rules refer to with url(#...) in a style sheet.
void ReadStyleSheet(QStringView sheet, QHash<QString, QStringList>& referencesByKey) {
    QString text; // without comments
    for (qsizetype at = 0; at >= 0;) {
        const qsizetype comment = sheet.indexOf(u"/*", at);
        text += sheet.mid(at, comment < 0 ? -1 : comment - at);
        const qsizetype end = comment < 0 ? -1 : sheet.indexOf(u"*/", comment + 2);
        at = end < 0 ? -1 : end + 2;
    }
    for (const QStringView rule : QStringView(text).split(u'}')) {
        const qsizetype open = rule.lastIndexOf(u'{');
        if (open < 0)
            continue;
        QStringList targets;
        ForEachUrlReference(rule.mid(open + 1), [&](const QString& id) { targets.append(id); });
        if (targets.isEmpty())
            continue;
        // After an at-rule's own brace ("@media screen { a, b { ... }"), only the selectors.
        QStringView selectors = rule.left(open);
        selectors =
            selectors.mid(std::max(selectors.lastIndexOf(u'{'), selectors.lastIndexOf(u';')) + 1);
        for (const QStringView selector : selectors.split(u','))
            referencesByKey[SelectorKey(selector)].append(targets);
    }
}

QStringView LocalName(QStringView qualified) {
    return qualified.mid(qualified.lastIndexOf(u':') + 1);
}

// True when the longest chain and the deepest drawing through the links stay within the
// limits and the links form no cycle. Links are followed in topological order (Kahn's
// algorithm), never by recursion.
bool ShallowAndAcyclic(int nodes, const std::vector<Link>& links) {
    std::vector<int> firstLink(nodes + 1, 0), indegree(nodes, 0);
    for (const Link& link : links) {
        ++firstLink[link.from + 1];
        ++indegree[link.to];
    }
    for (int node = 0; node < nodes; ++node)
        firstLink[node + 1] += firstLink[node];
    std::vector<int> order(links.size()), filled(firstLink.begin(), firstLink.end() - 1);
    for (int i = 0; i < int(links.size()); ++i)
        order[filled[links[i].from]++] = i;

    std::vector<int> chain(nodes, 0), depth(nodes, 0), ready;
    for (int node = 0; node < nodes; ++node)
        if (indegree[node] == 0)
            ready.push_back(node);
    int visited = 0;
    while (!ready.empty()) {
        const int node = ready.back();
        ready.pop_back();
        ++visited;
        for (int i = firstLink[node]; i < firstLink[node + 1]; ++i) {
            const Link& link = links[order[i]];
            chain[link.to] = std::max(chain[link.to], chain[node] + int(link.reference));
            depth[link.to] = std::max(depth[link.to], depth[node] + link.depth);
            if (chain[link.to] > kLongestChain || depth[link.to] > kDeepestDrawing)
                return false;
            if (--indegree[link.to] == 0)
                ready.push_back(link.to);
        }
    }
    return visited == nodes; // the nodes left over lie on a cycle
}

} // namespace

SvgStructure SvgStructure::Of(const QByteArray& document) {
    SvgStructure structure;
    QXmlStreamReader reader(document);
    // Prefixes are matched by hand: a document that forgot to declare one still draws.
    reader.setNamespaceProcessing(false);

    std::vector<int> nodeNesting{0};
    std::vector<Link> links;
    std::vector<PendingReference> pending;
    QHash<QString, int> ids; // the first element of each id, as the library takes it
    std::vector<int> owners; // for each open element, the node its references leave from
    std::vector<StyledElement> styled;
    QString styleSheets;
    int filterNesting = 0; // of the open filter element, 0 outside one
    int styleNesting = 0;  // of the open style element
    int primitives = 0, largestFilter = 0, masks = 0;

    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::Characters && styleNesting > 0)
            styleSheets += reader.text().toString() + u'\n';
        if (token == QXmlStreamReader::EndElement) {
            if (int(owners.size()) == styleNesting)
                styleNesting = 0;
            if (int(owners.size()) == filterNesting) {
                largestFilter = std::max(largestFilter, primitives);
                filterNesting = 0;
            }
            owners.pop_back();
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const int nesting = int(owners.size()) + 1;
        if (nesting > kDeepestNesting)
            return {};
        const QStringView name = LocalName(reader.qualifiedName());
        if (filterNesting > 0 && nesting == filterNesting + 1)
            ++primitives;
        if (name == u"filter" && filterNesting == 0) {
            filterNesting = nesting;
            primitives = 0;
            structure.effects = true;
        } else if (name == u"mask") {
            ++masks;
            structure.effects = true;
        } else if (name == u"style") {
            styleNesting = nesting;
        }

        int owner = owners.empty() ? 0 : owners.back();
        const QXmlStreamAttributes attributes = reader.attributes();
        const QStringView id = attributes.value(QLatin1String("id"));
        if (!id.isEmpty()) {
            const int node = int(nodeNesting.size());
            nodeNesting.push_back(nesting);
            links.push_back({owner, node, nesting - nodeNesting[owner], false});
            if (!ids.contains(id.toString()))
                ids.insert(id.toString(), node);
            owner = node;
        }
        const int referenceDepth = nesting - nodeNesting[owner] + 1;
        const auto refer = [&](const QString& target) {
            pending.push_back({owner, referenceDepth, target});
        };
        for (const QXmlStreamAttribute& attribute : attributes) {
            const QStringView value = attribute.value();
            if (LocalName(attribute.qualifiedName()) == u"href") {
                const QStringView target = value.trimmed();
                if (target.startsWith(u'#'))
                    refer(target.mid(1).toString());
            } else {
                ForEachUrlReference(value, refer);
            }
        }
        styled.push_back({owner, referenceDepth, name.toString(),
                          attributes.value(QLatin1String("class")).toString(), id.toString()});
        owners.push_back(owner);
    }
    if (reader.hasError())
        return {};

    // A style sheet's references leave from every element its rules may apply to: through a
    // node for each selector key, so that each element has one link for each of its keys.
    QHash<QString, QStringList> referencesByKey;
    ReadStyleSheet(styleSheets, referencesByKey);
    QHash<QString, int> keyNodes;
    for (auto key = referencesByKey.cbegin(); key != referencesByKey.cend(); ++key) {
        const int node = int(nodeNesting.size());
        nodeNesting.push_back(0);
        keyNodes.insert(key.key(), node);
        for (const QString& target : key.value())
            pending.push_back({node, 1, target});
    }
    if (!keyNodes.isEmpty()) {
        for (const StyledElement& element : styled) {
            QStringList keys{element.name, QStringLiteral("*")};
            if (!element.id.isEmpty())
                keys.append(u'#' + element.id);
            for (const QString& name : element.classes.simplified().split(u' ', Qt::SkipEmptyParts))
                keys.append(u'.' + name);
            for (const QString& key : keys)
                if (const auto node = keyNodes.constFind(key); node != keyNodes.cend())
                    links.push_back({element.from, node.value(), element.depth, false});
        }
    }

    for (const PendingReference& reference : pending)
        if (const auto target = ids.constFind(reference.id); target != ids.cend())
            links.push_back({reference.from, target.value(), reference.depth, true});
    structure.drawable = ShallowAndAcyclic(int(nodeNesting.size()), links);
    structure.surfaces = 1 + (structure.effects ? 2 + largestFilter + 2 * masks : 0);
    return structure;
}
