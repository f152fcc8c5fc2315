# MLD dictionary files: header, sections and the dictionary opened on them.
px10_add_fuzz(mld SOURCE MldFuzz.cpp LIBS localisation)
