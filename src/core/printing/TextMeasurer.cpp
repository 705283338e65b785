#include "TextMeasurer.h"

TTextMeasurer::~TTextMeasurer() = default;
