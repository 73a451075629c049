// Builds a catalogue (data file and index) from a script source. One source always gives the
// same bytes: version word 03 00 02 00, every non-outline section stored in source order, the
// outline's node references and dates resolved from its keys, the outline stored last.
#pragma once

#include "rtl/Exceptions.h"
#include "rtl/Stream.h"

#include <string>
#include <string_view>

namespace catalog {

// "SOURCE:LINE: message", LINE 1-based: the section's header line; for a missing outline the
// last line of the source.
class ECatalogueBuildError : public rtl::Exception {
    using Exception::Exception;
};

// Section keywords, by index: 0 never matches.
inline constexpr const char* kSectionKeywords[] = {"",         "OUTLINE",   "TEXT",
                                                   "INFOTEXT", "SHORTTEXT", "COMPONENT"};

// Builds from source bytes into the two streams (appended at their positions). sourceName
// only names the source in error messages.
void BuildCatalogue(std::string_view sourceBytes, const std::string& sourceName, rtl::TStream& data,
                    rtl::TStream& index);

// Reads sourcePath and writes outputDir/Vitrine32.dat and outputDir/Vitrine32.idx, through
// temporary files flushed to disk and renamed together at the end: on any error (a full disk
// included) no output file is written or replaced, and the old pair stays whole.
void BuildCatalogue(const std::string& sourcePath, const std::string& outputDir);

} // namespace catalog
