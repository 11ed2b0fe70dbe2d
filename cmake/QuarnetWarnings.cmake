# Warnings for our own targets only; never any option that relaxes
# floating-point semantics (results must stay bit-exact in 80-bit precision).
function(quarnet_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
