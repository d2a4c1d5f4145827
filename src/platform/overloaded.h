// One visitor from several lambdas, for std::visit over the stores' key tables.
#pragma once

template <typename... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
// Spelled out for compilers that do not yet deduce an aggregate's template arguments.
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;
