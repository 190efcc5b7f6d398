#pragma once

#include <QString>
#include <functional>

enum class genre_message { information, erreur, question };

// A modal box centred on the screen with one French sentence and one "OK" button, the application title
// as its caption. No icon.
void message(const QString& texte);

// The box of an error that ended a handler: the message and a full stop, a stop icon, one "OK" button.
void message_erreur(const QString& texte);

// A question with the buttons "Oui" and "Non" ("Non" the default, Escape): true for "Oui". An interceptor
// receives it as a question and answers yes.
bool confirme(const QString& texte);

// From now on, boxes are written to the standard error output: nobody is there to answer them.
void messages_sans_surveillance();

// Tests set an interceptor that receives each box instead of showing it; an empty one restores the boxes.
void intercepte_messages(std::function<void(genre_message, const QString&)> intercepteur);
