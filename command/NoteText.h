#ifndef TRISPAN_COMMAND_NOTETEXT_H
#define TRISPAN_COMMAND_NOTETEXT_H

// Composes PickState.noteText from the measures, the connector MTitle, the
// diameter sign and the prefix PreComment:
//   width X length X height, when all three were taken;
//   sign width X length, when the height was left out;
//   sign width X height, when the length is 0 (skipped, or measured as 0);
//   sign width, when the width pick skipped the length and the height was
//   left out as well.
// With Round 4 the measures are the step texts, else "%.*f" in Round places.
void ComposeNoteText();

#endif
