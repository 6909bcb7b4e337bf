// The progress interface of cabinet extraction: while a cabinet held in
// memory is read, the reader reports how far it has got.
#pragma once

class ICBSCabinetProgressCallbacks {
public:
    // The share of the cabinet read so far, 0 to 100.
    virtual void OnPercent(int percent) = 0;
    // The position in the cabinet after each read, in bytes.
    virtual void OnBytes(unsigned bytesRead) = 0;
    // The number of steps of the consumer's own progress scale.
    virtual int GetRange() = 0;

protected:
    // Never deleted through this interface; the owner keeps the object.
    ~ICBSCabinetProgressCallbacks() = default;
};
