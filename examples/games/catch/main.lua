-- Catch the falling stars with the paddle: the arrows move it, or hold the
-- left mouse button where it should go. Three stars missed end the game;
-- Space starts a new one, P pauses, Escape quits. Each star is an object of its own.
local paddle = loadTexture("paddle.png")

function start(id)
    score, lives, paddleX, nextStar, over, paused = 0, 3, 352, 0.5, false, false
    run(id)
end

function resume(id)
    run(id)
end

function run(id)
    local width, height = screenSize()
    while true do
        local dt = frameTime()
        if keyPressed("escape") then quit() end
        if keyPressed("p") and not over then paused = not paused end
        if over then
            if keyPressed("space") then score, lives, over = 0, 3, false end
        elseif not paused then
            steer(dt, width)
            nextStar = nextStar - dt
            if nextStar <= 0 then
                nextStar = math.max(0.35, 0.9 - score * 0.02)
                drop(width)
            end
        end
        clear({8, 10, 26})
        drawSprite(paddle, paddleX, height - 40)
        drawText(16, 12, "Score " .. score .. "   Lives " .. lives)
        if paused then drawText(width / 2 - 72, height / 2 - 24, "PAUSED", {scale = 2}) end
        if over then
            drawText(width / 2 - 108, height / 2 - 48, "GAME OVER", {scale = 2, tint = {255, 120, 90}})
            drawText(width / 2 - 114, height / 2 + 16, "Space to play again")
        end
        wait(nextFrame(id))
    end
end

function steer(dt, width)
    if keyDown("left") then paddleX = paddleX - 480 * dt end
    if keyDown("right") then paddleX = paddleX + 480 * dt end
    local mouseX, mouseY, held = mouse()
    if held then paddleX = mouseX - 48 end
    paddleX = math.max(0, math.min(width - 96, paddleX))
end

function drop(width)
    local star = newObject(0, "star.lua")
    setKey(star, "x", math.random(8, width - 32))
    setKey(star, "y", -24)
    setKey(star, "speed", 170 + score * 10)
    startThread(star, "start")
end
