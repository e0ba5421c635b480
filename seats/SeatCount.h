#pragma once

#include <QString>

#include <optional>

// The layout's seats beside the roster's students: the draw needs one
// student a seat.
struct SeatCount {
    int seats = 0;
    std::optional<int> students; // none: no roster yet

    bool differs() const { return students && *students != seats; }
    // 「座席 32 ／ 名簿 32人」, or 「座席 48 ／ 名簿なし」 before a roster.
    QString text() const;
    // Where the two differ, what to change on the layout to make them agree
    // (or that the roster is larger than any layout); empty where they agree.
    QString advice() const;
};
