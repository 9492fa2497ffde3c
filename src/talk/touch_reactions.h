#pragma once

#include <QPoint>
#include <QString>

#include <functional>
#include <initializer_list>

namespace orvanel {

class Questions;
struct TalkContext;

// Where the mouse is on the character: her body (Picture2) or one of the hit areas of the face
// (rgnhead, rgneye, rgnmouth, rgnnose, rgncheeks; both eyes and both cheeks react alike).
enum class TouchArea { Body, Head, Eye, Mouth, Nose, Cheek };

// The character as a toy: pokes on the eyes, the mouth and the body count up and make her
// angrier, the head likes to be stroked, the nose and the cheeks tickle. The counters live in
// the program's TouchState, which the main timer lets calm down tick by tick; they are never
// saved. Every line is played with the touch as its origin.
class TouchReactions {
public:
    TouchReactions(TalkContext& talk, Questions& questions);

    // A random talk, as a click makes her talk; and the balloon menu. The talk engine sets
    // both.
    std::function<void()> randomTalk;
    std::function<void()> openMenu;

    // The left button went down over `area`.
    void Pressed(TouchArea area);
    // The left button went down and up over the same area (not the second click of a double
    // click); `ctrl` when the Ctrl key was held.
    void Clicked(TouchArea area, bool ctrl);
    // The mouse moved over `area` to `pos` (window pixels).
    void Moved(TouchArea area, QPoint pos);
    // A double click with the left button.
    void DoubleClicked(TouchArea area);

private:
    void EyePoke();
    void MouthPoke();
    void BodyPoke();
    void HeadStroke(QPoint pos);
    void Say(const QString& line);
    void SayOneOf(std::initializer_list<const char16_t*> lines);
    void Threaten();

    TalkContext& talk_;
    Questions& questions_;
};

} // namespace orvanel
