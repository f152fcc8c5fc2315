# Line readers of text dictionaries over arbitrary bytes.
px10_add_fuzz(linereader SOURCE LineReaderFuzz.cpp LIBS localisation)
