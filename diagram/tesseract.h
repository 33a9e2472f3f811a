#pragma once

// Tesseract's C interface, loaded the first time a number or a line of text is read: the library and the fifty
// it brings with it stay out of a program that reads no picture, and out of its start.

#include <tesseract/capi.h>

namespace diagram {

struct Tesseract {
    decltype(&TessBaseAPICreate) create;
    decltype(&TessBaseAPIDelete) destroy;
    decltype(&TessBaseAPIInit4) init;
    decltype(&TessBaseAPISetVariable) setVariable;
    decltype(&TessBaseAPISetPageSegMode) setPageSegMode;
    decltype(&TessBaseAPISetImage) setImage;
    decltype(&TessBaseAPIGetUTF8Text) text;
    decltype(&TessBaseAPIMeanTextConf) meanConfidence;
    decltype(&TessBaseAPIClear) clear;
    decltype(&TessDeleteText) deleteText;
    decltype(&TessBaseAPIGetIterator) iterator;
    decltype(&TessResultIteratorDelete) deleteIterator;
    decltype(&TessResultIteratorGetUTF8Text) iteratorText;
    decltype(&TessResultIteratorNext) next;
    decltype(&TessResultIteratorGetChoiceIterator) choices;
    decltype(&TessChoiceIteratorDelete) deleteChoices;
    decltype(&TessChoiceIteratorGetUTF8Text) choiceText;
    decltype(&TessChoiceIteratorConfidence) choiceConfidence;
    decltype(&TessChoiceIteratorNext) nextChoice;
    // For lines of text beside the diagram.
    decltype(&TessBaseAPIRecognize) recognize;
    decltype(&TessResultIteratorGetPageIteratorConst) pageIterator;
    decltype(&TessPageIteratorIsAtBeginningOf) atBeginningOf;
    decltype(&TessResultIteratorConfidence) confidence;
};

// Null when the library, or one of its functions, cannot be found. Loaded once, by whichever
// thread asks first.
const Tesseract* tesseract();

// A new engine for `languages` ("eng", "eng+jpn"), its network alone: numbers and notes are no
// dictionary words. Its debug output goes nowhere, and it reads at 300 dpi. Null when the
// language data cannot be loaded; the caller frees it with `destroy`.
TessBaseAPI* newEngine(const Tesseract& t, const char* languages);

} // namespace diagram
