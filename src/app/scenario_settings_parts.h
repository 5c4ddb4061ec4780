// What the pieces of the scenario settings menu share.
#pragma once

#include <cstdint>
#include <string>

namespace tr {

class cCountry;
class cGame;
class CDXUTDialog;
class Texture;
struct sPbemPlayer;

// Active, of a political strength other than -1, and not the special country.
bool IsListedCountry(const cCountry& country);
// The text of the difficulty 0 (very hard) to 4 (very easy); empty for others.
std::u16string DifficultyText(int difficulty);
// The country's flag picture (the default flag when it has none), or null.
Texture* FlagPicture(const cCountry& country);
// The player with the number, or null.
const sPbemPlayer* FindPbemPlayer(const cGame& game, std::int32_t number);
sPbemPlayer* FindPbemPlayer(cGame& game, std::int32_t number);
// Takes the characters a play-by-e-mail game name may not hold out of the field.
void DropRefusedNameCharacters(CDXUTDialog& dialog, int fieldId);

}  // namespace tr
