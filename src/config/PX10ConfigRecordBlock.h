#pragma once
// The records of one part in file order, one block. They take the part's
// defaults when first touched, so a load that reads every record fills them
// from the file without copying the defaults in first only to overwrite them.
// Reading a record may fill the block (a const block too: the defaults are
// what it holds until then), so, like the rest of a configuration, a block is
// used by one thread at a time.
#include <algorithm>
#include <array>
#include <cstddef>
#include <new>
#include <span>
#include <utility>

#include "PX10ConfigRecord.h"

template <std::size_t Count> class TPX10ConfigRecordBlock {
public:
    using Records = std::array<TPX10ConfigRecord, Count>;

    // Zero and clean records, on which the defaults are built.
    TPX10ConfigRecordBlock() { Fill(Records {}); }
    // Records holding these defaults, which stay in place for as long as the block.
    explicit TPX10ConfigRecordBlock(const Records& Defaults)
        : FDefaults(&Defaults)
    {
    }
    TPX10ConfigRecordBlock(const TPX10ConfigRecordBlock& Other)
        : FDefaults(Other.FDefaults)
    {
        if (Other.FFilled)
            Fill(Other.FRecords);
    }
    TPX10ConfigRecordBlock& operator=(const TPX10ConfigRecordBlock& Other)
    {
        if (this != &Other) {
            FDefaults = Other.FDefaults;
            FFilled = false;
            if (Other.FFilled)
                Fill(Other.FRecords);
        }
        return *this;
    }
    ~TPX10ConfigRecordBlock() = default;

    Records& Get()
    {
        Touch();
        return FRecords;
    }
    const Records& Get() const
    {
        Touch();
        return FRecords;
    }
    // Index 0 to Count - 1; others throw std::out_of_range.
    TPX10ConfigRecord* At(std::size_t Index) { return &Get().at(Index); }
    const TPX10ConfigRecord* At(std::size_t Index) const { return &Get().at(Index); }

    bool IsModified() const
    {
        return std::any_of(Get().begin(), Get().end(), [](const auto& r) { return r.IsModified(); });
    }
    void ClearModified()
    {
        for (auto& r : Get())
            r.ClearModified();
    }
    // The first `Read` records from the file's position, as record-wise reading
    // does: the modified flags are kept, a short file fails at the same record.
    void ReadFromFile(platform::File& File, std::size_t Read = Count)
    {
        if (!FFilled && Read == Count) {
            if (const unsigned char* p = File.TakeBuffered(Count * TPX10ConfigRecord::DataSize)) {
                // The defaults are clean, so the file's bytes make clean records.
                new (&FRecords) Records(UnsetRecords(std::make_index_sequence<Count>()));
                TPX10ConfigRecord::FillFromBytes(FRecords.data(), p, Count);
                FFilled = true;
                return;
            }
        }
        TPX10ConfigRecord::ReadFromFile(File, std::span(Get()).first(Read));
    }
    void WriteToFile(platform::File& File) const
    {
        for (const auto& r : Get())
            r.WriteToFile(File);
    }
    // Record by record: the target becomes modified only where it differed.
    void CopyTo(TPX10ConfigRecordBlock& Target) const
    {
        for (std::size_t i = 0; i < Count; ++i)
            Get()[i].CopyTo(&Target.Get()[i]);
    }

private:
    void Touch() const
    {
        if (!FFilled)
            Fill(*FDefaults);
    }
    void Fill(const Records& From) const
    {
        new (&FRecords) Records(From);
        FFilled = true;
    }
    template <std::size_t... Index> static Records UnsetRecords(std::index_sequence<Index...>)
    {
        return Records { ((void)Index, TPX10ConfigRecord(TPX10ConfigRecord::Unset {}))... };
    }

    const Records* FDefaults = nullptr;
    // Filling in the defaults changes no value a reader sees.
    mutable bool FFilled = false;
    union {
        mutable Records FRecords; // in use once FFilled
    };
};
