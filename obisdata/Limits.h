#pragma once

// Limits that keep the database's resource use predictable on hostile input. Each is far
// beyond what real definition data needs; passing one is reported as an error.

// Table expansion: how often a copy may be expanded again (a table row whose text refers to
// a table once more), and how many definitions one media list may hold after expansion.
inline constexpr int MaxTableExpansionDepth = 16;
inline constexpr int MaxExpandedDefinitions = 200'000;

// Description lookup: placeholder replacements in one text.
inline constexpr int MaxPlaceholderReplacements = 1'000;

// Table positions that a field value can select.
inline constexpr int TablePositions = 256;
// Description lookup: the length a text may grow to while its placeholders are replaced.
inline constexpr int MaxDescriptionLength = 100'000;
