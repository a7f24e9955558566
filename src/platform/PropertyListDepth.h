#pragma once

#include "platform/PropertyList.h"

#include <QByteArray>

namespace platform::detail {

// libplist parses nesting by recursion, so a file nested tens of thousands of
// levels deep would exhaust the stack inside it. Values deeper than
// kMaxPropertyListDepth are refused after parsing anyway; the few levels more
// allowed here are the XML form's own elements (<plist>, a leaf's element).
constexpr int kDeepestPropertyList = kMaxPropertyListDepth + 8;

// Whether an XML or binary property list nests no deeper than
// kDeepestPropertyList, measured without libplist (by a tokenizer for XML, an
// iterative walk of the object table for binary) so that it is safe to give
// to libplist. Anything we cannot measure (a damaged binary table, a cycle)
// answers false.
bool nestsWithinLimit(const QByteArray& bytes);

} // namespace platform::detail
