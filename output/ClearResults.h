#pragma once

namespace hv {

class ErrorTrap;
class ListViewModel;

// "Clear Results": empties the results list and touches nothing else, as a
// statement of the caller's error trap.
class ClearResults {
public:
    explicit ClearResults(ListViewModel& results) : results_(results) {}

    void run(ErrorTrap& trap);

private:
    ListViewModel& results_;
};

} // namespace hv
