#pragma once

#include <QByteArray>

// What an SVG document's elements and references ask of the drawing library, read from its
// bytes before the library sees them. The library follows references and nested elements by
// recursion on its own stack, so a deep enough chain ends the program instead of failing.
struct SvgStructure {
    // False for a document that is not well-formed XML, nests its elements deeper than any
    // real icon does, or whose references (href, xlink:href and url(#...) in any attribute or
    // in a style sheet's rules, followed through everything the referenced element contains)
    // form a cycle or a chain deeper than any real icon needs.
    bool drawable = false;
    // Whether the document has filters or masks, whose drawing holds pictures of the drawn
    // area besides the drawing itself.
    bool effects = false;
    // How many pictures of the drawn area a drawing may hold at once: the drawing, the
    // largest filter's primitive results, a surface for each mask.
    int surfaces = 1;

    static SvgStructure Of(const QByteArray& document);
};
