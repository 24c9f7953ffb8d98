-- Nested native calls are counted per coroutine: "C stack overflow" comes at
-- the same depth of protected calls as in the stand-alone interpreter, and
-- deep chains of coroutines resuming coroutines work.

local function p(n)
  if n == 0 then return "bottom" end
  local ok, v = pcall(p, n - 1)
  return v
end
print("pcall 197:", p(197))
print("pcall 198:", p(198))

-- a coroutine counts from its own start
print("pcall 199 in coroutine:", coroutine.wrap(function() return p(199) end)())
print("pcall 200 in coroutine:", coroutine.wrap(function() return p(200) end)())

local function nest(n)
  if n == 0 then return "deepest" end
  local ok, v = coroutine.resume(coroutine.create(nest), n - 1)
  return v
end
print("resume 1000:", nest(1000))

-- each coroutine of a deep chain has its own room for protected calls
local function nestWithCalls(n)
  if n == 0 then return p(150) end
  local ok, v = coroutine.resume(coroutine.create(nestWithCalls), n - 1)
  return v
end
print("resume 5, then pcall 150:", nestWithCalls(5))

-- an error handler still runs at the limit
local function handled(n)
  if n == 0 then return "bottom" end
  local ok, v = xpcall(function() return handled(n - 1) end, function(m) return "handled: " .. m end)
  return v
end
print("xpcall 300:", handled(300))
