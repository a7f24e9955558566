#pragma once

#include <QByteArray>

namespace platform::detail {

// The deepest nesting of arrays and dictionaries any real property list of ours
// holds is a handful of levels; libplist parses nesting by recursion, so a file
// nested tens of thousands of levels deep would exhaust the stack inside it.
constexpr int kDeepestPropertyList = 256;

// Whether an XML or binary property list nests no deeper than
// kDeepestPropertyList, measured without libplist (by a tokenizer for XML, an
// iterative walk of the object table for binary) so that it is safe to give
// to libplist. Anything we cannot measure (a damaged binary table, a cycle)
// answers false.
bool nestsWithinLimit(const QByteArray& bytes);

} // namespace platform::detail
