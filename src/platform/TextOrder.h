#pragma once

#include <QString>
#include <algorithm>
#include <functional>
#include <vector>

namespace platform {

// Orders texts as people expect names in a list to be ordered, through an ICU
// collator for the user's locale ("root" when that locale has none):
// - digits compare as numbers: "clip2" before "clip10";
// - letter case and character width do not matter: "Clip" equals "clip";
// - accents do: "é" differs from "e" (it sorts right after it);
// - punctuation and spaces count: "a-b" differs from "ab";
// - composed and decomposed forms are the same text.
// Texts are compared whole, however long: cutting them at some length would
// make texts that differ only beyond it compare equal, so a sort could not
// tell them apart. The collator stops at the first difference, so long texts
// with different beginnings cost no more than short ones.
// Answers a negative number, 0 or a positive number, as a before, equal to or
// after b. The collator is made once and kept: main thread only.
int compareInTextOrder(const QString& a, const QString& b);

// Sorts texts into text order; equal texts keep their order.
void sortInTextOrder(std::vector<QString>& texts);

// Sorts elements into the text order of key(element), which answers a QString
// (or a reference to one). Stable: elements whose keys are equal in text
// order (e.g. differing only in case) keep their order.
template <class T, class Key> void stableSortInTextOrder(std::vector<T>& elements, Key key) {
    std::stable_sort(elements.begin(), elements.end(), [&key](const T& left, const T& right) {
        return compareInTextOrder(std::invoke(key, left), std::invoke(key, right)) < 0;
    });
}

// Uses the collator of icuLocale (e.g. "en_US") instead of the user's;
// nullptr goes back to the user's. Drops the kept collator.
void setTextOrderLocaleForTesting(const char* icuLocale);

} // namespace platform
