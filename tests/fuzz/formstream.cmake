# Form streams with dictionary blocks.
px10_add_fuzz(formstream SOURCE FormStreamFuzz.cpp LIBS localisation)
