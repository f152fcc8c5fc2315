px10_add_fuzz(textparser SOURCE TextParserFuzz.cpp LIBS localisation)
