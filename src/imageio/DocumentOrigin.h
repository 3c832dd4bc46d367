#pragma once

// Where an image's document comes from, which decides the helper that may read it: a user's
// file always gets a helper that has read nothing before, as a document that took a helper over
// could change the pictures of those after it; the application's own (the built-in library's)
// share helpers, so that a page of samples costs their drawings rather than a process each.
enum class DocumentOrigin { UserFile, BuiltIn };
