# The reply parser fed arbitrary bytes.
px10_add_fuzz(packet SOURCE PacketFuzz.cpp LIBS comms)
