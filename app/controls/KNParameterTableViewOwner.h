#pragma once

class KNParameterField;

// What a parameter row sends its owner. The sender is the row's minField or maxField: its tag
// is the parameter index and its doubleValue the new start or end, exactly as typed or as set
// by the row's slider. Sent only for a finite value the user entered, never for a value stored
// into the field by setDoubleValue, so an owner may store into the row while it answers.
class KNParameterTableViewOwner {
public:
    virtual ~KNParameterTableViewOwner() = default;

    virtual void changeParameterStart(KNParameterField* sender) = 0;
    virtual void changeParameterEnd(KNParameterField* sender) = 0;
};
