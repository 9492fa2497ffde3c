#pragma once

namespace orvanel {

// What a screen reader hears of the balloons: the message label as a readable text (its
// name and its text are what the balloon shows), and the labels that act as buttons (menu
// lines, answers, OK and cancel) as buttons named by their captions, with a press action.
// Installed once, before the first balloon is built.
void InstallBalloonAccessibility();

} // namespace orvanel
