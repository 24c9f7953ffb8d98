-- tonumber with a base other than 10 reads 32-bit unsigned integers: a sign
-- after the leading blanks is taken, a minus negating modulo 2^32.

print("plain:", tonumber("ff", 16), tonumber("777", 8), tonumber("z", 36), tonumber("0x1F", 16))
print("signs:", tonumber("-1", 16), tonumber("+1", 16), tonumber("-ff", 16), tonumber(" -7", 8), tonumber("-0", 2))
print("signs and prefix:", tonumber("-0x10", 16), tonumber(" +0XfF ", 16), tonumber("0x-1", 16))
print("not signed numbers:", tonumber("- 1", 16), tonumber("+-1", 16), tonumber("-", 8), tonumber("1-", 8))
print("spaces:", tonumber("  1010  ", 2), tonumber("1 0", 2))
print("32 bits:", tonumber("ffffffff", 16), tonumber("11111111111111111111111111111111", 2))
print("beyond:", tonumber("100000000", 16), tonumber("ffffffffffffffffffff", 16), tonumber("zzzzzzzzzzzzz", 36))
print("beyond with a minus:", tonumber("-100000000", 16), tonumber("-ffffffff", 16))
print("beyond in base 8:", tonumber("40000000000", 8), tonumber("37777777777", 8))
print("not numbers:", tonumber("", 16), tonumber("0x", 16), tonumber("12", 2), tonumber("1.5", 16))
-- base 10 keeps the decimal conversion, sign included
print("base 10:", tonumber("-12", 10), tonumber("+3", 10), tonumber("5000000000", 10))
