// Finding the catalogue CD: the first CD-ROM drive of the drive table and its volume label.
#pragma once

namespace util {

// The letter (lower case) of the first CD-ROM drive from a: to z:; a blank without one.
char FindCDDrive();

// True when the first CD-ROM drive holds a medium whose volume label, in upper case, is the
// setting CDVolumeLabel. Only the first CD-ROM drive is looked at.
bool IsCatalogueCDInserted();

} // namespace util
