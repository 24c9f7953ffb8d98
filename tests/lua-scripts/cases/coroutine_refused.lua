-- A refused resume leaves the coroutine as it was.

local co = coroutine.create(function(a) return a end)
print("first:", coroutine.resume(co, "x"))
print("status:", coroutine.status(co))
print("dead with arguments:", coroutine.resume(co, print, 2, 3))
print("status after:", coroutine.status(co))
print("again:", coroutine.resume(co))
print("again with one:", coroutine.resume(co, "one"))
print("status at end:", coroutine.status(co))

-- through wrap, a leftover function must never run
local ran = false
local w = coroutine.wrap(function() return "once" end)
print("wrap first:", w())
print("wrap dead with function:", pcall(w, function() ran = true end))
print("wrap again:", pcall(w))
print("leftover ran:", ran)

-- a coroutine resuming itself, with arguments
local self
self = coroutine.create(function()
  local ok, msg = coroutine.resume(self, "a", "b")
  coroutine.yield(ok, msg)
  return "self finished"
end)
print("self:", coroutine.resume(self))
print("self then:", coroutine.resume(self))
print("self status:", coroutine.status(self))

-- a coroutine that is resuming another one is not suspended
local outer
local inner = coroutine.create(function() return coroutine.resume(outer, "extra", "args") end)
outer = coroutine.create(function(x)
  local ok, innerOk, msg = coroutine.resume(inner)
  local y = coroutine.yield(innerOk, msg)
  return x, y
end)
print("normal:", coroutine.resume(outer, "x"))
print("normal then:", coroutine.resume(outer, "y"))
print("normal status:", coroutine.status(outer))
