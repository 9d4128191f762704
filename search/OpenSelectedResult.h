#pragma once

namespace hv {

class ErrorTrap;
class ListViewModel;
class PhotoshopLink;

// "Open Selected File": opens the document of the selected result row
// through the document link and shows it to the user, who keeps it open. With no result
// rows it does nothing. Each step runs as a statement of the caller's error
// trap, and a failed step is followed by the next.
class OpenSelectedResult {
public:
    // `selectedRow` is the position of the selected result row, 0 for none.
    OpenSelectedResult(PhotoshopLink& link, const ListViewModel& results, int selectedRow);

    void run(ErrorTrap& trap);

private:
    PhotoshopLink& link_;
    const ListViewModel& results_;
    int selectedRow_;
};

} // namespace hv
