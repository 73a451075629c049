// Persistent objects and their property-definition hook: an object that stores values other
// than plain properties defines each of them to a filer with a procedure that reads its data and
// one that writes it. A writer stores every defined property that has data as its name (a
// length byte and the characters) followed by the data; a reader hands the data of a name it
// reads to the procedure defined for that name.
#pragma once

#include "rtl/Filer.h"

#include <functional>
#include <string>

namespace rtl {

class TFiler {
public:
    using ReadProc = std::function<void(TReader& reader)>;
    using WriteProc = std::function<void(TWriter& writer)>;

    virtual ~TFiler() = default;
    // hasData false: the property has nothing to store and a writer leaves it out.
    virtual void DefineProperty(const std::string& name, const ReadProc& readData,
                                const WriteProc& writeData, bool hasData) = 0;
};

class TPersistent {
public:
    virtual ~TPersistent() = default;
    virtual void DefineProperties(TFiler& filer);
};

// Writes each defined property of object that has data, named prefix + "." + its name.
void WriteDefinedProperties(TWriter& writer, TPersistent& object, const std::string& prefix);

// Reads one property name and, when object defines it under prefix, its data: true. False when
// the name is not one of object's (its data is left unread).
bool ReadDefinedProperty(TReader& reader, TPersistent& object, const std::string& prefix);

} // namespace rtl
